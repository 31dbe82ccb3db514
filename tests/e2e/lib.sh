# Shared by the end-to-end scripts and bench/run: the simulator, the client, windows, and the failure report.
set -euo pipefail
export QTWEBENGINE_DISABLE_SANDBOX=1
work=$(mktemp -d)
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$XDG_CONFIG_HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; wait 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { # with what the simulator was asked, what the client said, and which windows and processes were there
  echo "FAIL: $*" >&2
  tail -n +1 "$work/sim.log" "$work/client.out" >&2 2>/dev/null || true
  { xwininfo -root -tree | grep -i -e lumenpane -e quillmoor
    ps -eo pid,ppid,stat,etime,comm | grep -e lumenpane -e QtWebEngine; } >&2 2>/dev/null || true
  exit 1
}
pass() { echo "ok: $*"; }

wait_for() { # SECONDS COMMAND...: retries the command until it succeeds
  local end=$((SECONDS + $1)); shift
  until "$@" >/dev/null 2>&1; do ((SECONDS < end)) && sleep "${POLL_SECONDS:-0.1}" || return 1; done
}
start_sim() {
  "$QUILLMOOR_SIM_BIN" --port 0 --log "$work/sim.log" "$@" 2>"$work/sim.err" &
  pids+=($!)
  wait_for 10 grep -q "listening on" "$work/sim.err" || fail "simulator did not start"
  sim_base=$(grep -o "http://127.0.0.1:[0-9]*" "$work/sim.err" | head -n1)
  export LUMENPANE_API_BASE="$sim_base" LUMENPANE_REPORT_BASE="$sim_base"
}
start_client() { "$LUMENPANE_BIN" "$@" >"$work/client.out" 2>&1 & client_pid=$! && pids+=($client_pid); }
gone() { ! kill -0 "$1" 2>/dev/null; }
fault() { curl -fsS "$sim_base/_sim/fault?$1" >/dev/null; } # the simulator's answers held back or hung
# ended SECONDS CHILDREN: the client ends in time with 0, and the processes it had follow it out.
ended() {
  wait_for "$1" gone "$client_pid" || fail "the program did not end within $1 s"
  wait "$client_pid" || fail "the program ended with $?"
  for c in $2; do wait_for 20 gone "$c" || fail "process $c of the program is still running"; done
}
logged() { grep -c -F -- "$1" "$work/sim.log" || true; } # the simulator's requests that hold the text
logged_at_least() { [ "$(logged "$1")" -ge "$2" ]; }
# Every process below the given one (the viewer and the web engine's helpers below it).
tree_of() { local c; for c in $(pgrep -P "$1" || true); do echo "$c"; tree_of "$c"; done; }

# A notification area (trayer) at the bottom of the screen, $panel its window, and the icons of a program in it.
start_trayer() {
  trayer --edge bottom --align right --widthtype pixel --width 120 --heighttype pixel --height 28 >/dev/null 2>&1 &
  trayer_pid=$! && pids+=($trayer_pid)
  wait_for 20 panel_found || fail "trayer did not start"
}
tray_icons() { { xwininfo -tree -id "$panel" 2>/dev/null || true; } | grep -c "(\"${1:-lumenpane}\"" || true; }
in_tray() { [ "$(tray_icons "$1")" -ge 1 ]; }
tray_icon() { { xwininfo -tree -id "$panel" 2>/dev/null || true; } | awk '/\("lumenpane"/ {print $1; exit}'; }
# The tray menu: a mapped top-level window of the program with no title of its own.
tray_menu_shown() { # counted rather than grep -q, which could end the pipe before every window was asked
  local ids=$(xwininfo -root -children | awk '/"Lumenpane": \("lumenpane"/ {print $1}')
  [ "$(xargs -rn1 xwininfo -id <<<"$ids" 2>/dev/null | grep -c IsViewable)" -gt 0 ]
}
# Windows by their whole title, a pattern: xdotool matches names by pattern.
# A search fails as a whole when a window goes away in the middle of it (a program that opens one window and closes
# another at the same moment): it then finds nothing, and a window found is the one returned.
window_id() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 || true; }
has_window() { found=$(window_id "$1"); [ -n "$found" ]; }
panel_found() { panel=$(xdotool search --name '^panel$' 2>/dev/null | head -n1 || true); [ -n "$panel" ]; }
wait_window() { wait_for "${2:-20}" has_window "$1" || fail "window '$1' did not appear"; echo "$found"; }
main_title='Quillmoor Lumenpane \(Build 40\)'
main_gone() { ! has_window "$main_title"; }
# What a window manager's close box does: ask the window to close (WM_DELETE_WINDOW).
close_window() {
  /usr/bin/python3 -c 'import sys; from Xlib import X, display, protocol
d = display.Display(); w = d.create_resource_object("window", int(sys.argv[1], 0)); atom = d.intern_atom
w.send_event(protocol.event.ClientMessage(window=w, client_type=atom("WM_PROTOCOLS"),
             data=(32, [atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]))); d.flush()' "$1"
}

# Signs in through the real sign-in window, the e-mail address typed as given (the demo account's by default);
# $main is then the main window.
start_page="GET /lumenpane/default2.asp?autologin=true&email=demo@example.com&password=demo123"
# Keys go to a window once it holds the keyboard focus, which every window of the program takes as it appears:
# waited for, never forced.
has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
focus() { wait_for 10 has_focus "$1" || fail "window $1 did not take the keyboard focus"; }
fill_sign_in() {
  focus "$(wait_window "Quillmoor Login" 30)"
  xdotool key --clearmodifiers ctrl+a; xdotool type --delay 5 "${1:-demo@example.com}"
  xdotool key Tab ctrl+a; xdotool type --delay 5 "demo123"
}
sign_in() {
  fill_sign_in "$@"
  xdotool key Return
  main=$(wait_window "$main_title" 60)
  focus "$main"
}
