#!/usr/bin/env bash
# tests/stress/input.sh [RUNS [ACTIONS]]: starts the real client RUNS times (default 50) under two busy loops, and
# right after the sign-in window appears, in turn: closes it (the program must end), signs in (the simulator must get
# exactly what was typed), or signs in and ends the program from the tray menu; ACTIONS ("close", say) picks some.
# Every key and click is sent once, after what the program shows. One line per run, then the counts; fails unless
# every run did what was asked. In a session of its own, with the programs of BUILD_DIR (default build/).
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
typed_in() { # the sign-in typed once the window holds the keyboard focus; the simulator gets it whole
  local before=$(sign_in_sent)
  fill_sign_in
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
      typed_in
      wait_window "$main_title" 60 >/dev/null ;;
    tray)
      typed_in
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
