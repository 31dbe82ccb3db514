# Reads reports as a person would with the real programs: signs in, picks a period and a site, closes to the tray
# (trayer), comes back through a second copy and after the viewer died, ends from the tray; then without a tray.
source "$E2E_LIB"
# menu KEYS...: opens a menu of the main window from the keyboard and walks it.
menu() { focus "$main"; for k in "$@"; do xdotool key --delay 60 "$k"; done; }
wait_logged() { wait_for 30 logged_at_least "$1" "${2:-1}" || fail "not requested ${2:-1} times: $1"; }
# Whether the first window is stacked above the second (the screen's list of windows goes from the top down).
above() {
  local order=$(xwininfo -root -children | awk '/^ +0x/ {print $1}')
  [ "$(grep -nx "$(printf '0x%x' "$1")" <<<"$order" | cut -d: -f1)" -lt "$(grep -nx "$(printf '0x%x' "$2")" <<<"$order" | cut -d: -f1)" ]
}

start_sim
start_trayer
sites="GET /v3/rsapi.asp?cmd=listsites&email=demo@example.com&password=demo123"

# A second copy started while the sign-in waits for a slow answer ends at once, and the sign-in window, which another
# window has been raised over meanwhile, comes forward at once: before the answer is in.
start_client
fault delay=5000
fill_sign_in "  demo@example.com "
login=$(wait_window "Quillmoor Login")
xdotool key Return
wait_logged "$sites"
xdotool windowraise "$panel"
above "$panel" "$login" || fail "the panel was not raised over the sign-in window"
"$LUMENPANE_BIN" >/dev/null 2>&1 & second=$!
wait_for 20 gone "$second" && wait "$second" || fail "the second copy did not end at once while the sign-in waited"
wait_for 3 above "$login" "$panel" || fail "the waiting sign-in window did not come forward"
has_window "$main_title" && fail "a main window opened while the sign-in waited"
main=$(wait_window "$main_title" 60)
fault delay=0
focus "$main"
wait_logged "$start_page"
[ "$(logged "$sites")" -eq 2 ] || fail "listsites was not sent exactly twice with the trimmed entries"
conf=$XDG_CONFIG_HOME/Quillmoor/Lumenpane.conf
grep -qx "Login=demo@example.com" "$conf" && [ "$(stat -c %a "$conf")" = 600 ] || fail "not remembered privately"
xprop -id "$main" WM_CLASS | grep -qF '"lumenpane", "Lumenpane"' || fail "the main window is not of the program's class"
pass "signed in past a second copy: listsites twice, then the start page; the entries remembered privately"
wait_for 20 in_tray lumenpane || fail "no icon in the tray"

# Last Week from Options > Change Date (Today is the first item); then the second site of the list.
dow=$(date +%w)
from=$(date -d "-$((dow + 7)) days" +%-m/%-d/%Y)
to=$(date -d "-$((dow + 1)) days" +%-m/%-d/%Y)
menu alt+o d Down Down Down Return
wait_logged "GET /lumenpane/default2.asp?FDate=$from&Ldate=$to"
menu alt+o c Down Down Return
site_page="GET /lumenpane/default2.asp?FDate=$from&Ldate=$to&chSiteID=12"
wait_logged "$site_page"
pass "Last Week, then shop.example.com for the same period"

# Closing keeps the program in the tray; a second copy ends at once and brings a fresh window back.
close_window "$main"
wait_for 20 main_gone || fail "the main window did not close"
! gone "$client_pid" && in_tray lumenpane || fail "closing the main window ended the program or took the icon"
wait_for 20 bash -c "! pgrep -P $client_pid -f lumenpane-viewer" || fail "the viewer kept running without a window"
"$LUMENPANE_BIN" >/dev/null 2>&1 & second=$!
wait_for 20 gone "$second" && wait "$second" || fail "the second copy did not end at once"
main=$(wait_window "$main_title" 30)
wait_logged "$start_page" 2
# The new window knows its sites only once asked, and reports on the period chosen in the old one.
menu alt+o c Return
wait_logged "$sites" 3
menu alt+o c Down Down Return
wait_logged "$site_page" 2
pass "closed to the tray, the viewer ended; a second copy brought a fresh window for the same period"

# A viewer that dies takes its window along, but not the program: a double click on the icon brings a new one.
kill -9 "$(pgrep -P "$client_pid" -f lumenpane-viewer | head -n1)"
wait_for 20 main_gone || fail "the main window outlived its viewer"
! gone "$client_pid" || fail "the program ended with its viewer"
icon=$(tray_icon)
xdotool mousemove --window "$icon" 8 8 click --repeat 2 --delay 80 1
main=$(wait_window "$main_title" 30)
wait_logged "$start_page" 3
pass "after the viewer died, a double click on the icon restored the window"

# The tray menu's Exit ends the program and takes the icon along, while Refresh List waits on a slow answer too.
fault delay=60000
menu alt+o c Return
wait_logged "$sites" 4
children=$(tree_of "$client_pid")
xdotool mousemove --window "$icon" 8 8 click 3
wait_for 10 tray_menu_shown || fail "no tray menu"
xdotool key --delay 80 Down Down Return
ended 30 "$children"
[ "$(tray_icons)" -eq 0 ] || fail "the icon stayed in the notification area"
fault delay=0
pass "Exit in the tray menu ended the program while Refresh List waited; no icon, no process left"

# Without a notification area, closing the main window ends the program; so does File > Exit.
kill "$trayer_pid"; wait "$trayer_pid" 2>/dev/null || true
for way in close exit; do
  start_client
  sign_in
  children=$(tree_of "$client_pid")
  case $way in close) close_window "$main" ;; exit) menu alt+f x ;; esac
  ended 30 "$children"
done
pass "without a notification area, closing the main window or File > Exit ended the program"
