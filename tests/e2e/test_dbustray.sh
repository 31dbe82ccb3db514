# A desktop session over D-Bus (the session's keyring, and a notification area played by sni.py): the
# password goes to the keyring, a click on the icon brings the main window back, and the icon's menu, which the
# host draws from its D-Bus description, restores and exits.
# session: --keyring
source "$E2E_LIB"
/usr/bin/python3 "$(dirname "$E2E_LIB")/sni.py" "$work/items" &
pids+=($!)
wait_for 10 gdbus introspect --session --dest org.kde.StatusNotifierWatcher --object-path /StatusNotifierWatcher ||
  fail "the watcher did not start"
start_sim
start_client
sign_in
wait_for 20 test -s "$work/items" || fail "the icon was not registered with the notification area"
item=$(head -n1 "$work/items")
conf="$XDG_CONFIG_HOME/Quillmoor/Lumenpane.conf"
grep -qx "Login=demo@example.com" "$conf" && ! grep -q "^Password=" "$conf" || fail "the password is not in the keyring"
pass "icon registered over D-Bus as $item; the password rests in the keyring, not in the settings file"

# The host's click on the icon, or its pick of a menu entry by caption, as the icon describes its menu over D-Bus.
call() { gdbus call --session --dest "$item" --object-path "$@" >"$work/reply"; }
activate() { call /StatusNotifierItem --method org.kde.StatusNotifierItem.Activate 0 0; }
menu() {
  call /StatusNotifierItem --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem Menu
  local path=$(grep -o "'/[^']*'" "$work/reply" | tr -d "'")
  call "$path" --method com.canonical.dbusmenu.GetLayout -- 0 -1 []
  local id=$(grep -o "([0-9]*, {[^}]*'label': <'$1'>" "$work/reply" | grep -o '^([0-9]*' | tr -d '(')
  call "$path" --method com.canonical.dbusmenu.Event "${id:?no entry $1}" clicked '<0>' 0
}
for way in activate menu; do
  close_window "$main"
  wait_for 20 main_gone || fail "the main window did not close"
  $way Restore
  main=$(wait_window "$main_title" 60)
  pass "$way on the icon brought the main window back"
done
menu Exit
wait_for 30 bash -c "! kill -0 $client_pid" || fail "Exit in the icon's menu did not end the program"
pass "Exit in the icon's menu ended the program"
