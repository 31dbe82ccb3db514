#!/usr/bin/env bash
# sealed-session.sh [--keyring|--hung-keyring] [--set NAME=VALUE]... [--] COMMAND...
#
# Runs the command in a desktop session of its own, sealed off from the one it was started from: an environment
# cleared of the desktop's variables, a fresh home with its own XDG folders, a private D-Bus session that starts no
# service by itself (tests/support/session-bus.conf), and an X display of its own. With --keyring the session has an
# unlocked keyring of its own (the command sees LUMENPANE_TEST_KEYRING=answers); with --hung-keyring one that takes
# requests and never answers (=hung); without either, no keyring answers at all. --set adds a variable. Everything
# goes when the command ends; its exit status is the script's.
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

keyring=none
extra=()
while (($#)); do
  case "$1" in
    --keyring) keyring=answers; shift ;;
    --hung-keyring) keyring=hung; shift ;;
    --set) extra+=("$2"); shift 2 ;;
    --) shift; break ;;
    *) break ;;
  esac
done
(($#)) || { echo "usage: sealed-session.sh [--keyring|--hung-keyring] [--set NAME=VALUE]... COMMAND..." >&2; exit 2; }

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

# The display: a free number chosen by the server itself, so that sessions started side by side never share one.
# -noreset: the server stays up when its last program ends, for the next program of the same test.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -noreset -nolisten tcp 3>"$home/display" >"$home/xvfb.log" 2>&1 &
helpers+=($!)
for _ in $(seq 300); do [ -s "$home/display" ] && break; sleep 0.02; done
[ -s "$home/display" ] || { echo "sealed-session: the X server did not start" >&2; cat "$home/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$home/display")"

if [ "$keyring" != none ]; then
  echo "" | gnome-keyring-daemon --foreground --unlock --components=secrets >"$home/keyring.log" 2>&1 &
  helpers+=($!)
  up() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
      string:org.freedesktop.secrets 2>/dev/null | grep -q "boolean true"
  }
  for _ in $(seq 200); do up && break; sleep 0.05; done
  up || { echo "sealed-session: the keyring did not come up" >&2; cat "$home/keyring.log" >&2; exit 1; }
  [ "$keyring" = answers ] || kill -STOP "${helpers[-1]}"
  export LUMENPANE_TEST_KEYRING=$keyring
fi

status=0
env "${extra[@]}" "$@" || status=$?
exit "$status"
