# Under a window manager that prevents focus stealing (mutter on X): the windows take the focus as they appear;
# after the user typed into another program, a second copy started by a launcher (its startup id stamped with the
# time of the user's action) brings the main window forward, and so does a double click on the tray icon.
# session: --wm mutter
source "$E2E_LIB"
# The X server's time of now, as a launcher stamps the startup id of the program it starts.
server_time() {
  /usr/bin/python3 -c 'from Xlib import X, display
d = display.Display(); w = d.screen().root.create_window(0, 0, 1, 1, 0, X.CopyFromParent,
                                                         event_mask=X.PropertyChangeMask)
w.change_property(d.intern_atom("LUMENPANE_NOW"), d.intern_atom("STRING"), 8, b"")
while True:
    e = d.next_event()
    if e.type == X.PropertyNotify:
        print(e.time)
        break'
}

start_sim
start_trayer
start_client
sign_in
wait_for 30 logged_at_least "$start_page" 1 || fail "the start page was not opened"
pass "the sign-in window and then the main window took the focus as they appeared"

# Another program, which the user clicks and types into: the program stamps its window with the time of each key
# (_NET_WM_USER_TIME), and the window manager holds the latest as the user's last action.
/usr/bin/python3 -c 'import gi; gi.require_version("Gtk", "3.0"); from gi.repository import Gtk
w = Gtk.Window(title="Another program"); w.add(Gtk.Entry()); w.show_all(); Gtk.main()' 2>/dev/null &
pids+=($!)
other=$(wait_window "Another program" 20)
use_other() {
  xdotool mousemove --window "$other" 20 20 click 1
  wait_for 20 has_focus "$other" || fail "the other program did not take the focus"
  xdotool type --delay 20 "notes"
}
use_other
DESKTOP_STARTUP_ID="launcher-$$_TIME$(server_time)" "$LUMENPANE_BIN" >/dev/null 2>&1 &
second=$!
wait_for 20 gone "$second" && wait "$second" || fail "the second copy did not end at once"
wait_for 20 has_focus "$main" || fail "the second copy did not bring the main window forward"
pass "a second copy with the launcher's startup id brought the main window forward over the program used last"

wait_for 20 in_tray lumenpane || fail "no icon in the tray"
use_other
xdotool mousemove --window "$(tray_icon)" 8 8 click --repeat 2 --delay 80 1
wait_for 20 has_focus "$main" || fail "a double click on the icon did not bring the main window forward"
pass "a double click on the icon brought the main window forward over the program used last"
