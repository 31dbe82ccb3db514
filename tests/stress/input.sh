#!/usr/bin/env bash
# tests/stress/input.sh [RUNS [ACTIONS]]: starts the real client RUNS times (default 50) on a machine kept busy by two busy loops,
# and each time, right after the sign-in window appears, does one of three things, in turn: closes it (the program must
# end), types the demo account's sign-in and presses Enter (the simulator must receive exactly what was typed), or signs
# in and opens the tray menu (it must show, and its Exit end the program); ACTIONS ("close", say) does only some of
# them. Every key and click is sent once; where it
# waits, it waits for what the program shows (a window, the keyboard focus, a request). Prints one line per run and the
# counts; fails unless every run did what was asked. In a session of its own (tests/support/sealed-session.sh), with the
# programs of BUILD_DIR (default build/).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ -n "${LUMENPANE_SEALED_SESSION:-}" ] || exec bash "$here/../support/sealed-session.sh" bash "$0" "$@"
runs=${1:-50}
build=$(cd "${BUILD_DIR:-$here/../../build}" && pwd)
export LUMENPANE_BIN=$build/lumenpane QUILLMOOR_SIM_BIN=$build/quillmoor-sim LUMENPANE_VIEWER_BIN=$build/lumenpane-viewer
export QTWEBENGINE_CHROMIUM_FLAGS=${QTWEBENGINE_CHROMIUM_FLAGS:---disable-gpu} LIBGL_ALWAYS_SOFTWARE=1
source "$here/../e2e/lib.sh"
POLL_SECONDS=0.01 # "right after it appears"

for _ in 1 2; do (while :; do :; done) & pids+=($!); done
start_sim
start_trayer

sign_in_sent() { grep -cxF "GET /v3/rsapi.asp?cmd=listsites&email=demo@example.com&password=demo123" "$work/sim.log" || true; }
sent_more() { [ "$(sign_in_sent)" -gt "$1" ]; }
typed_in() { # signs in by typing into the sign-in window once it holds the keyboard focus
  local before=$(sign_in_sent)
  focus "$1"
  xdotool type --delay 5 "demo@example.com"
  xdotool key Tab
  xdotool type --delay 5 "demo123"
  xdotool key Return
  wait_for 30 sent_more "$before" ||
    fail "the typed sign-in did not arrive whole: $(grep listsites "$work/sim.log" | tail -n1)"
}

# One run in a subshell of its own: a failure ends the run, not the series.
one() {
  local action=$1 login
  rm -rf "${XDG_CONFIG_HOME:?}"/*
  start_client
  login=$(wait_window "Quillmoor Login" 30)
  case $action in
    close)
      local from=${EPOCHREALTIME/[.,]/}
      close_window "$login"
      wait_for 10 gone "$client_pid" || fail "still running 10 s after its sign-in window was closed"
      echo "ended $(((${EPOCHREALTIME/[.,]/} - from) / 1000)) ms after the close" ;;
    type)
      typed_in "$login"
      wait_window "$main_title" 60 >/dev/null ;;
    tray)
      typed_in "$login"
      wait_window "$main_title" 60 >/dev/null
      wait_for 20 in_tray lumenpane || fail "no icon in the tray"
      xdotool mousemove --window "$(tray_icon)" 8 8 click 3
      wait_for 10 tray_menu_shown || fail "the tray menu did not open"
      xdotool key Down Down Return
      wait_for 10 gone "$client_pid" || fail "Exit in the tray menu did not end the program" ;;
  esac
}

read -r -a actions <<<"${2:-close type tray}"
declare -A done_ failed_
failures=0
for i in $(seq "$runs"); do
  action=${actions[$(((i - 1) % ${#actions[@]}))]}
  if (one "$action") >"$work/run.log" 2>&1; then
    done_[$action]=$((${done_[$action]:-0} + 1))
    echo "run $i: $action: done $(grep -h "^ended" "$work/run.log" || true)"
  else
    failed_[$action]=$((${failed_[$action]:-0} + 1))
    failures=$((failures + 1))
    echo "run $i: $action: FAILED: $(grep -m1 FAIL "$work/run.log" || tail -n1 "$work/run.log")"
  fi
  for p in $(pgrep -f "$LUMENPANE_BIN" || true); do kill -9 "$p" 2>/dev/null || true; done # what a failed run left
  wait_for 20 bash -c "! pgrep -f '$LUMENPANE_BIN'" || true
done
echo "done:   close ${done_[close]:-0}, type ${done_[type]:-0}, tray ${done_[tray]:-0}"
echo "failed: close ${failed_[close]:-0}, type ${failed_[type]:-0}, tray ${failed_[tray]:-0}"
[ "$failures" -eq 0 ]
