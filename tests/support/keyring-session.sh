#!/usr/bin/env bash
# Runs a command in a D-Bus session of its own with a fresh, unlocked keyring; both go when it ends. With --hung,
# the keyring is frozen once up: it takes requests, never answers. The command sees LUMENPANE_TEST_KEYRING=<mode>.
set -euo pipefail
mode=answers
[[ "${1:-}" != --* ]] || { mode=${1#--}; shift; }
[ -n "${KEYRING_SESSION_BUS:-}" ] || exec env KEYRING_SESSION_BUS=1 dbus-run-session -- bash "$0" "--$mode" "$@"

# The keyring files and sockets go into a throw-away home, never the user's.
home=$(mktemp -d)
export HOME=$home XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home/run
mkdir -m 0700 -p "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
echo "" | gnome-keyring-daemon --foreground --unlock --components=secrets >/dev/null 2>&1 &
keyring_pid=$!
trap 'kill -KILL "$keyring_pid" 2>/dev/null || true; wait "$keyring_pid" 2>/dev/null || true; rm -rf "$home"' EXIT
up() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
    string:org.freedesktop.secrets 2>/dev/null | grep -q "boolean true"
}
for _ in $(seq 200); do
  up || ! kill -0 "$keyring_pid" 2>/dev/null && break
  sleep 0.05
done
up || { echo "the keyring did not come up" >&2; exit 1; }
if [ "$mode" = hung ]; then kill -STOP "$keyring_pid"; fi
LUMENPANE_TEST_KEYRING=$mode "$@"
