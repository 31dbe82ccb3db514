# Reads reports as a person would with the real programs: signs in, picks a period and a site from the
# menus, closes to the notification area (trayer) and comes back, survives a viewer that dies, and ends from
# the tray; then, with no notification area on the display, closing the main window ends the program.
source "$E2E_LIB"
# menu KEYS...: opens a menu of the main window from the keyboard and walks it.
menu() { xdotool windowfocus --sync "$main" 2>/dev/null || true; for k in "$@"; do xdotool key --delay 60 "$k"; done; }
downs() { local n=$1 keys=(); for ((i = 0; i < n; i++)); do keys+=(Down); done; echo "${keys[@]}"; }
logged() { grep -c -x -F -- "$1" "$work/sim.log" || true; }
logged_at_least() { [ "$(logged "$1")" -ge "$2" ]; }
wait_logged() { wait_for "${3:-30}" logged_at_least "$1" "${2:-1}" || fail "not requested ${2:-1} times: $1"; }
gone() { ! kill -0 "$1" 2>/dev/null; }
# The tray menu: a mapped top-level window of the program with no title of its own.
tray_menu_shown() {
  local id
  for id in $(xwininfo -root -children | awk '/"Lumenpane": \("lumenpane"/ {print $1}'); do
    xwininfo -id "$id" | grep -q "IsViewable" && return 0
  done
  return 1
}
client_running() { kill -0 "$client_pid" 2>/dev/null; }
# The lumenpane icons embedded in the notification area.
tray_icons() {
  [ -n "$panel" ] || { echo 0; return; }
  { xwininfo -tree -id "$panel" 2>/dev/null || true; } | grep -c '("lumenpane"' || true
}
tray_has_icon() { [ "$(tray_icons)" -ge 1 ]; }
# Every process below the given one (the viewer and the web engine's helpers below it).
tree_of() { local c; for c in $(pgrep -P "$1" || true); do echo "$c"; tree_of "$c"; done; }
viewer_pid() { pgrep -P "$client_pid" -f lumenpane-viewer | head -n1; }
no_viewer() { [ -z "$(viewer_pid)" ]; }
ended_cleanly() {
  local children=$1
  wait_for 30 gone "$client_pid" || fail "the program did not end"
  wait "$client_pid"; local rc=$?
  [ "$rc" -eq 0 ] || fail "the program ended with $rc"
  # The web engine's helper processes follow their parent out.
  for c in $children; do wait_for 20 gone "$c" || fail "process $c of the program is still running"; done
  return 0
}
wdate() { date -d "$1" +%-m/%-d/%Y; }

start_sim

# --- with a notification area -----------------------------------------------------------------------------
trayer --edge bottom --align right --widthtype pixel --width 120 --heighttype pixel --height 28 \
  >"$work/trayer.log" 2>&1 &
trayer_pid=$!
pids+=($trayer_pid)
wait_for 20 xdotool search --name '^panel$' || fail "trayer did not start"
panel=$(xdotool search --name '^panel$' | head -n1)
[ -n "$panel" ] || fail "trayer's panel not found"

start_client
sign_in
wait_logged "$start_page"
[ "$(grep -c 'cmd=listsites' "$work/sim.log")" -eq 2 ] || fail "listsites was not sent exactly twice"
second_list=$(grep -n 'cmd=listsites' "$work/sim.log" | tail -n1 | cut -d: -f1)
first_page=$(grep -n -x -F -- "$start_page" "$work/sim.log" | head -n1 | cut -d: -f1)
((first_page > second_list)) || fail "the start page was requested before the second listsites"
pass "signed in: listsites twice, then the start page with automatic sign-in"
wait_for 20 tray_has_icon || fail "no icon in the tray"
pass "icon in the notification area"

# Last Week from Options > Change Date (Today is the first item); then the second site of the list.
dow=$(date +%w)
from=$(wdate "-$((dow + 7)) days")
to=$(wdate "-$((dow + 1)) days")
menu alt+o d $(downs 3) Return
wait_logged "GET /lumenpane/default2.asp?FDate=$from&Ldate=$to"
pass "Last Week opened FDate=$from&Ldate=$to"
menu alt+o c $(downs 2) Return
site_page="GET /lumenpane/default2.asp?FDate=$from&Ldate=$to&chSiteID=12"
wait_logged "$site_page"
pass "shop.example.com opened for the same period"
menu alt+f r
wait_logged "$site_page" 2
pass "Refresh reloaded the page"
menu alt+h u
wait_logged "GET /lumenpane/checkversion.asp?build=40"
pass "Check for Update opened checkversion.asp?build=40"

# Closing keeps the program in the tray; a second copy brings a fresh window back.
close_window "$main"
wait_for 20 main_gone || fail "the main window did not close"
client_running || fail "closing the main window ended the program"
[ "$(tray_icons)" -ge 1 ] || fail "the icon went with the window"
wait_for 20 no_viewer || fail "the viewer kept running without a window"
pass "closed to the tray; the viewer and its engine ended"
"$LUMENPANE_BIN" >"$work/second.out" 2>&1 &
second=$!
wait_for 20 gone "$second" || fail "the second copy did not end"
main=$(wait_window "$main_title" 30)
wait_logged "$start_page" 2
pass "a second copy brought back a fresh main window with the start page"
# The new window knows its sites only once asked, and reports on the period chosen in the old one.
menu alt+o c Return
wait_for 30 bash -c "[ \$(grep -c cmd=listsites '$work/sim.log') -eq 3 ]" || fail "Refresh List did not ask again"
menu alt+o c $(downs 2) Return
wait_logged "$site_page" 3
pass "after Refresh List, the site opened for the period chosen before the close"

# A viewer that dies takes its window along, but not the program: the icon brings a new one.
kill -9 "$(viewer_pid)"
wait_for 20 main_gone || fail "the main window outlived its viewer"
client_running || fail "the program ended with its viewer"
icon=$(xwininfo -tree -id "$panel" | awk '/\("lumenpane"/ {print $1; exit}')
xdotool mousemove --window "$icon" 8 8 click --repeat 2 --delay 80 1
main=$(wait_window "$main_title" 30)
wait_logged "$start_page" 3
pass "after the viewer died, a double click on the icon restored the window"

# The tray menu's Exit ends the program and takes the icon along.
children=$(tree_of "$client_pid")
xdotool mousemove --window "$icon" 8 8 click 3
wait_for 10 tray_menu_shown || fail "no tray menu"
xdotool key --delay 80 Down Down Return
ended_cleanly "$children"
[ "$(tray_icons)" -eq 0 ] || fail "the icon stayed in the notification area"
pass "Exit in the tray menu ended the program; no icon, no process left"

# --- without a notification area --------------------------------------------------------------------------
kill "$trayer_pid"; wait "$trayer_pid" 2>/dev/null || true
start_client
sign_in
wait_logged "$start_page" 4
children=$(tree_of "$client_pid")
close_window "$main"
ended_cleanly "$children"
pass "without a notification area, closing the main window ended the program"

start_client
sign_in
children=$(tree_of "$client_pid")
menu alt+f x
ended_cleanly "$children"
pass "File > Exit ended the program"
echo "1 passed, 0 failed"
