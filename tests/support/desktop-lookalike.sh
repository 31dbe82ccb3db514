#!/usr/bin/env bash
# desktop-lookalike.sh [--autolaunch] COMMAND...: runs the command (scripts/test, say) inside a stand-in for a
# person's desktop (a display with a notification area, a bus that starts services on demand, an unlocked keyring with
# a secret of its own, someone else's settings), then fails if anything reached it: a secret, a settings change, a
# window mapped, a call on the bus. --autolaunch: no bus address, so that libdbus would start one for the display.
set -euo pipefail
autolaunch=0
[ "${1:-}" != --autolaunch ] || { autolaunch=1; shift; }
desk=$(mktemp -d /tmp/desktop-lookalike.XXXXXX)
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; wait 2>/dev/null || true; rm -rf "$desk"' EXIT
mkdir -p "$desk/home/.config/Quillmoor" "$desk/home/.local/share" && mkdir -m 700 "$desk/run"
printf '[General]\nLogin=someone@desktop.example\n' >"$desk/home/.config/Quillmoor/Lumenpane.conf"
export HOME=$desk/home XDG_RUNTIME_DIR=$desk/run XDG_SESSION_TYPE=x11 XDG_CURRENT_DESKTOP=GNOME

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$desk/display" 2>/dev/null & pids+=($!)
for _ in $(seq 300); do [ -s "$desk/display" ] && break; sleep 0.02; done
export DISPLAY=":$(head -n1 "$desk/display")"
dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$desk/bus" 4>"$desk/bus.pid" 2>/dev/null
pids+=("$(cat "$desk/bus.pid")")
export DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$desk/bus")
echo "desktop" | gnome-keyring-daemon --foreground --unlock --components=secrets >/dev/null 2>&1 & pids+=($!)
for _ in $(seq 100); do echo -n "the desktop's own" | secret-tool store --label=own desktop own 2>/dev/null && break; sleep 0.05; done
secrets() { # how many the keyring holds
  gdbus call --session --dest org.freedesktop.secrets --object-path /org/freedesktop/secrets/collection/login \
    --method org.freedesktop.DBus.Properties.Get org.freedesktop.Secret.Collection Items | grep -o "objectpath '[^']*'" | wc -l
}
trayer --edge bottom >/dev/null 2>&1 & pids+=($!)
dbus-monitor --session "type='method_call'" >"$desk/calls" 2>&1 & pids+=($!)
/usr/bin/python3 -c 'import sys; from Xlib import X, display
d = display.Display(); d.screen().root.change_attributes(event_mask=X.SubstructureNotifyMask); d.flush()
print("watching", flush=True)
while True:
    e = d.next_event()
    if e.type == X.MapNotify:
        try: name = e.window.get_wm_name() or e.window.get_wm_class()
        except Exception: name = "?"
        print("mapped", hex(e.window.id), name, flush=True)' >"$desk/maps" 2>&1 & pids+=($!)
sleep 1
keys_before=$(secrets)
buses_before=$(pgrep -cf -- "dbus-launch --autolaunch" || true)
settings_before=$(md5sum <"$HOME/.config/Quillmoor/Lumenpane.conf")
calls_before=$(wc -l <"$desk/calls")
maps_before=$(grep -c '^mapped' "$desk/maps" || true)

status=0
if ((autolaunch)); then env -u DBUS_SESSION_BUS_ADDRESS "$@" || status=$?; else "$@" || status=$?; fi

problems=()
new_calls=$(tail -n +"$((calls_before + 1))" "$desk/calls" | grep -c '^method call' || true)
[ "$new_calls" -eq 0 ] || problems+=("$new_calls calls on the desktop's bus: $(tail -n +"$((calls_before + 1))" "$desk/calls" | grep -m3 '^method call')")
[ "$(secrets)" -eq "$keys_before" ] || problems+=("the desktop's keyring holds $(secrets) secrets, not $keys_before")
[ "$(pgrep -cf -- "dbus-launch --autolaunch" || true)" -eq "$buses_before" ] || problems+=("a bus was started for the display")
[ "$(md5sum <"$HOME/.config/Quillmoor/Lumenpane.conf")" = "$settings_before" ] || problems+=("the settings changed")
new_maps=$(tail -n +"$((maps_before + 1))" "$desk/maps" | grep '^mapped' || true)
[ -z "$new_maps" ] || problems+=("windows appeared on the desktop: $new_maps")
echo "command ended with $status"
if ((${#problems[@]})); then printf 'REACHED THE DESKTOP: %s\n' "${problems[@]}"; exit 1; fi
echo "nothing reached the desktop: its keyring, settings, display and bus are as they were"
exit "$status"
