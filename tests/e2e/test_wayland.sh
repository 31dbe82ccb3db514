# A day on a headless mutter Wayland desktop, the programs used as a screen reader does (a11y.py), with the person's
# keyboard and another program (desk.py) and a notification area over D-Bus (sni.py): sign in, close to the
# notification area and back, a second copy bringing the window forward past the other program (the compositor
# gives the focus only with the token of the user's action), end; without a notification area, closing ends it.
# session: --wayland mutter --a11y
source "$E2E_LIB"
here=$(dirname "$E2E_LIB")
a11y() { /usr/bin/python3 "$here/a11y.py" "$@"; }
main_name='Quillmoor Lumenpane (Build 40)'
unset QT_QPA_PLATFORM # as in a desktop session: the program chooses its windowing itself

/usr/bin/python3 "$here/sni.py" "$work/items" &
sni_pid=$! && pids+=($sni_pid)
wait_for 10 gdbus introspect --session --dest org.kde.StatusNotifierWatcher --object-path /StatusNotifierWatcher ||
  fail "the watcher did not start"
mkfifo "$work/desk.in"
/usr/bin/python3 "$here/desk.py" "$work/desk.out" <"$work/desk.in" 2>"$work/desk.err" &
pids+=($!)
exec 7>"$work/desk.in"
desk() { echo "$*" >&7; }
said() { grep -c "^$1" "$work/desk.out" || true; }
# desk_after WHAT COUNT: waits until the desk has said WHAT more than COUNT times.
desk_after() { wait_for 20 bash -c "[ \$(grep -c '^$1' '$work/desk.out') -gt $2 ]" || fail "the desk did not say $1"; }
desk_after ready 0
# The other program opens and takes the focus, as a new window does.
other_opens() { local n=$(said focused); desk open; desk_after focused "$n"; }
# A key pressed in the other program, and the token the compositor gave it for that key, as a launcher asks for one.
token() { local n=$(said token); desk token; desk_after token "$n"; grep "^token " "$work/desk.out" | tail -n1 | cut -d' ' -f2; }
# Signs in through the sign-in window, which has come on screen with the focus; the main window takes it next.
a11y_sign_in() {
  a11y wait "Quillmoor Login" active 30 || fail "the sign-in window did not take the focus"
  a11y type "Quillmoor Login" "E-Mail Address" demo@example.com
  a11y type "Quillmoor Login" Password demo123
  a11y press "Quillmoor Login" Login
  a11y wait "$main_name" active 60 || fail "the main window did not take the focus"
}

start_sim
start_client
a11y wait "Quillmoor Login" active 30 || fail "the sign-in window did not take the focus"
a11y only "Quillmoor Login" 3 || fail "before the sign-in, a window other than the sign-in window could be found"
a11y_sign_in
a11y find "$main_name" "Visits per day" 60 || fail "the report did not show"
[ "$(logged "$start_page")" -eq 1 ] || fail "the start page was not opened once"
grep -q "systemTrayWindowChanged" "$work/client.out" && fail "a warning about an X11 tray"
pass "signed in natively on Wayland: the sign-in window and the main window took the focus, the report shows"

wait_for 20 test -s "$work/items" || fail "the icon was not registered with the notification area"
item=$(head -n1 "$work/items")
sni() { gdbus call --session --dest "$item" --object-path /StatusNotifierItem --method "org.kde.StatusNotifierItem.$@"; }
# A click on the icon: the notification area hands the program a token for the click, then reports the click.
click_icon() {
  sni ProvideXdgActivationToken "'$(token)'" >/dev/null
  sni Activate 0 0 >/dev/null
}
desk keys Alt_L+F4
a11y wait "$main_name" gone 30 || fail "the compositor's close did not close the main window"
! gone "$client_pid" || fail "closing the main window ended the program"
other_opens
click_icon
a11y wait "$main_name" active 60 || fail "a click on the icon did not bring the main window back with the focus"
wait_for 30 logged_at_least "$start_page" 2 || fail "the restored window did not open the start page"
pass "closed with the compositor's Alt+F4, restored from the notification area"

# While the other program has the focus, a click on the icon, or a second copy started with a launcher's token,
# brings the main window forward.
other_opens
a11y wait "$main_name" inactive 20 || fail "the other program did not take the focus from the main window"
click_icon
a11y wait "$main_name" active 30 || fail "a click on the icon did not bring the main window forward"
other_opens
a11y wait "$main_name" inactive 20 || fail "the other program did not take the focus from the main window"
XDG_ACTIVATION_TOKEN=$(token) "$LUMENPANE_BIN" >"$work/second.out" 2>&1 &
second=$!
wait_for 20 gone "$second" && wait "$second" || fail "the second copy did not end at once"
a11y wait "$main_name" active 30 || fail "the second copy did not bring the main window forward"
pass "with the other program in front, a click on the icon and a second copy each brought the main window forward"

children=$(tree_of "$client_pid")
a11y menu "$main_name" File Exit
ended 30 "$children"
pass "File > Exit ended the program and its viewer"

# No notification area: Qt has none to offer on Wayland, so closing the main window ends the program.
kill "$sni_pid"
wait "$sni_pid" 2>/dev/null || true
start_client
a11y_sign_in
desk keys Alt_L+F4
wait_for 30 gone "$client_pid" || fail "closing the main window without a notification area did not end the program"
grep -q "systemTrayWindowChanged" "$work/client.out" && fail "a warning about an X11 tray"
pass "without a notification area, closing the main window ended the program, without a word about X11"
