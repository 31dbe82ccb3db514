# Shared by the end-to-end scripts: start the simulator and the client, find windows, type, read the log.
set -euo pipefail
export QTWEBENGINE_DISABLE_SANDBOX=1
work=$(mktemp -d)
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -f "$work/sim.log" ] && { echo "--- simulator log"; cat "$work/sim.log"; } >&2
  [ -f "$work/client.out" ] && { echo "--- client output"; tail -n 40 "$work/client.out"; } >&2
  exit 1
}
pass() { echo "ok: $*"; }

# wait_for SECONDS COMMAND...: retries the command until it succeeds.
wait_for() {
  local limit=$1; shift
  local end=$((SECONDS + limit))
  until "$@" >/dev/null 2>&1; do
    ((SECONDS < end)) || return 1
    sleep "${POLL_SECONDS:-0.1}"
  done
}

start_sim() {
  "$QUILLMOOR_SIM_BIN" --port 0 --log "$work/sim.log" "$@" 2>"$work/sim.err" &
  pids+=($!)
  wait_for 10 grep -q "listening on" "$work/sim.err" || fail "simulator did not start"
  sim_base=$(grep -o "http://127.0.0.1:[0-9]*" "$work/sim.err" | head -n1)
  export LUMENPANE_API_BASE="$sim_base" LUMENPANE_REPORT_BASE="$sim_base"
}

start_client() {
  "$LUMENPANE_BIN" "$@" >"$work/client.out" 2>&1 &
  client_pid=$!
  pids+=($client_pid)
}

window_id() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1; }
has_window() { [ -n "$(window_id "$1")" ]; }
wait_window() { wait_for "${2:-20}" has_window "$1" || fail "window '$1' did not appear"; window_id "$1"; }
# type_into WINDOW TEXT: types into the focused control of the window.
type_text() { xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"; xdotool type --delay 5 -- "$2"; }
key() { xdotool key --window "$1" "$2"; }
sim_log_count() { grep -c -F -- "$1" "$work/sim.log" || true; }

# What a window manager's close box does: ask the window to close (WM_DELETE_WINDOW).
close_window() {
  python3 - "$1" <<'PY'
import ctypes, sys
x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XInternAtom.restype = ctypes.c_ulong
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
x.XFlush.argtypes = x.XCloseDisplay.argtypes = [ctypes.c_void_p]
class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("l", ctypes.c_long * 5)]
class XEvent(ctypes.Union):
    _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]
display = x.XOpenDisplay(None)
if not display:
    sys.exit("cannot open the display")
event = XEvent()
event.xclient.type = 33  # ClientMessage
event.xclient.window = int(sys.argv[1], 0)
event.xclient.message_type = x.XInternAtom(display, b"WM_PROTOCOLS", 0)
event.xclient.format = 32
event.xclient.l[0] = x.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
x.XSendEvent(display, event.xclient.window, 0, 0, ctypes.byref(event))
x.XFlush(display)
x.XCloseDisplay(display)
PY
}

# Signing in with the demo account through the real sign-in window; $main is then the main window.
main_title='Quillmoor Lumenpane \(Build 40\)' # as a pattern: xdotool matches window names by pattern
start_page="GET /lumenpane/default2.asp?autologin=true&email=demo@example.com&password=demo123"

main_shown() { xdotool search --onlyvisible --name "^$main_title\$" >/dev/null 2>&1; }
main_gone() { ! main_shown; }
sign_in() {
  local win
  win=$(wait_window "Quillmoor Login")
  xdotool windowfocus --sync "$win" 2>/dev/null || true
  xdotool key --clearmodifiers ctrl+a; xdotool type --delay 5 "demo@example.com"
  xdotool key Tab ctrl+a; xdotool type --delay 5 "demo123"
  xdotool key Return
  main=$(wait_window "$main_title" 60)
  xdotool windowfocus --sync "$main" 2>/dev/null || true
}
