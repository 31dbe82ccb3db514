#!/usr/bin/env bash
# sealed-session.sh [--keyring|--hung-keyring] [--wayland mutter|weston] [--wm mutter|openbox] [--a11y]
#                   [--set NAME=VALUE]... [--] COMMAND...
# Runs the command sealed off from the desktop it was started from: a cleared environment, a fresh home and XDG
# folders, a private D-Bus session that starts no service (session-bus.conf), an X display of its own. A keyring of its
# own that answers, or one that never does (LUMENPANE_TEST_KEYRING=answers|hung); else none. --wayland: a headless
# compositor instead of X, no DISPLAY to fall back to (weston has no seat; LUMENPANE_TEST_COMPOSITOR). --wm: a window
# manager (mutter prevents focus stealing; LUMENPANE_TEST_WM). --a11y: the accessibility bus, always spoken to.
# Everything goes when the command ends; its exit status is the script's.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

if [ "${1:-}" != --inside ]; then
  # What the command may see of the caller's environment: the locale and path, and the variables of this project's
  # tests and of the sanitizers. Never the desktop's display, bus, folders or Qt settings.
  keep=()
  while IFS='=' read -r name _; do
    case "$name" in
      PATH | LANG | LANGUAGE | LC_* | TERM | TZ | LUMENPANE_* | QUILLMOOR_* | E2E_* | BENCH_* | BUILD_DIR | \
        QTWEBENGINE_* | LIBGL_* | ASAN_OPTIONS | LSAN_OPTIONS | UBSAN_OPTIONS | POLL_SECONDS)
        keep+=("$name=${!name}") ;;
    esac
  done < <(env -0 | tr '\0' '\n' | grep -E '^[A-Za-z_][A-Za-z0-9_]*=' || true)
  # The bus daemon says on every start, as root in a container, that it cannot raise its file limit: not news.
  exec env -i "${keep[@]}" dbus-run-session --config-file="$here/session-bus.conf" -- bash "$0" --inside "$@" \
    2> >(grep --line-buffered -v "Failed to set fd limit" >&2)
fi
shift

keyring=none compositor= wm= a11y=
extra=()
while (($#)); do
  case "$1" in
    --keyring) keyring=answers; shift ;;
    --hung-keyring) keyring=hung; shift ;;
    --wayland) compositor=$2; shift 2 ;;
    --wm) wm=$2; shift 2 ;;
    --a11y) a11y=1; shift ;;
    --set) extra+=("$2"); shift 2 ;;
    --) shift; break ;;
    *) break ;;
  esac
done
(($#)) || { echo "usage: sealed-session.sh [options] COMMAND... (see the head of this script)" >&2; exit 2; }

home=$(mktemp -d /tmp/sealed-session.XXXXXX)
export HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_CACHE_HOME=$home/cache \
  XDG_STATE_HOME=$home/state XDG_RUNTIME_DIR=$home/run QT_QPA_PLATFORM=xcb LUMENPANE_SEALED_SESSION=1
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_STATE_HOME"
mkdir -m 0700 "$XDG_RUNTIME_DIR"
helpers=()
cleanup() {
  for p in "${helpers[@]}"; do kill -CONT "$p" 2>/dev/null || true; kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$home"
}
trap cleanup EXIT

# waited NAME SECONDS COMMAND...: waits until the command succeeds; says what did not start, with its log, if not.
waited() {
  local what=$1 end=$((SECONDS + $2)); shift 2
  until "$@" >/dev/null 2>&1; do
    ((SECONDS < end)) || { echo "sealed-session: $what did not start" >&2; cat "$home/$what.log" >&2; exit 1; }
    sleep 0.05
  done
}
owned() { dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
  "string:$1" 2>/dev/null | grep -q "boolean true"; }

if [ -n "$compositor" ]; then
  # The socket is in the session's own runtime folder, under a name of its own.
  export WAYLAND_DISPLAY=lumenpane-wayland QT_QPA_PLATFORM=wayland LUMENPANE_TEST_COMPOSITOR=$compositor
  case "$compositor" in
    mutter) server=(mutter --headless --wayland --no-x11 --virtual-monitor 1280x1024
      --wayland-display="$WAYLAND_DISPLAY") ;;
    # pixman: weston paints its screen, as a desktop does, rather than nothing at all
    weston) server=(weston --backend=headless-backend.so --use-pixman --socket="$WAYLAND_DISPLAY" --width=1280 \
      --height=1024 --idle-time=0) ;;
    *) echo "sealed-session: no compositor $compositor" >&2; exit 2 ;;
  esac
  "${server[@]}" >"$home/$compositor.log" 2>&1 &
  helpers+=($!)
  waited "$compositor" 30 test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY"
  # Named by its whole path, the socket is found by programs that are given a runtime folder of their own.
  export WAYLAND_DISPLAY=$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY
  # mutter takes its remote-desktop name (the person's keyboard in tests) once it is ready for clients.
  [ "$compositor" != mutter ] || waited mutter 30 owned org.gnome.Mutter.RemoteDesktop
else
  # The display: a free number chosen by the server itself, so that sessions started side by side never share one.
  # -noreset: the server stays up when its last program ends, for the next program of the same test.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -noreset -nolisten tcp 3>"$home/display" >"$home/xvfb.log" 2>&1 &
  helpers+=($!)
  waited xvfb 15 test -s "$home/display"
  export DISPLAY=":$(head -n1 "$home/display")"
fi

if [ -n "$wm" ]; then
  case "$wm" in
    mutter) manager=(mutter --x11 --replace --sm-disable) ;;
    openbox) manager=(openbox --sm-disable) ;;
    *) echo "sealed-session: no window manager $wm" >&2; exit 2 ;;
  esac
  "${manager[@]}" >"$home/$wm.log" 2>&1 &
  helpers+=($!)
  export LUMENPANE_TEST_WM=$wm
  waited "$wm" 30 bash -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
fi

if [ -n "$a11y" ]; then
  /usr/libexec/at-spi-bus-launcher --launch-immediately >"$home/a11y.log" 2>&1 &
  helpers+=($!)
  waited a11y 15 owned org.a11y.Bus
  # Qt's web engine keeps the pages' own accessibility off on Linux unless asked.
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY=1
fi

if [ "$keyring" != none ]; then
  echo "" | gnome-keyring-daemon --foreground --unlock --components=secrets >"$home/keyring.log" 2>&1 &
  helpers+=($!)
  waited keyring 10 owned org.freedesktop.secrets
  [ "$keyring" = answers ] || kill -STOP "${helpers[-1]}"
  export LUMENPANE_TEST_KEYRING=$keyring
fi

status=0
env "${extra[@]}" "$@" || status=$?
exit "$status"
