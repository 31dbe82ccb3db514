# A new customer's whole way in, through the real windows against the real simulator: New Account, the
# sign-up form, the refused first sign-in, the code from the simulator's mailbox, activation, and the
# sign-in that finally opens the new account.
source "$E2E_LIB"
# press_in WINDOW KEY: focuses the window (a message box, say) and presses the key there.
# shot NAME: the screen as the user sees it, kept when the build asks for screenshots.
shot() { [ -z "${LUMENPANE_TEST_SHOTS:-}" ] || { mkdir -p "$LUMENPANE_TEST_SHOTS"; import -window root "$LUMENPANE_TEST_SHOTS/enrolment-$1.png" 2>/dev/null || true; }; }
press_in() { xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1" 2>/dev/null || true; xdotool key --clearmodifiers "$2"; }
start_sim --state "$work/state.json"
sim_pid=${pids[-1]}
start_client
login=$(wait_window "Quillmoor Login")
pass "sign-in window shown"

# New Account replaces the sign-in window with the sign-up window.
xdotool windowactivate --sync "$login" 2>/dev/null || xdotool windowfocus --sync "$login"
xdotool key --clearmodifiers alt+n
signup=$(wait_window "Signup")
wait_for 10 bash -c "! xdotool search --onlyvisible --name '^Quillmoor Login\$'" || fail "sign-in window still open"
pass "New Account opened the sign-up window and closed the sign-in window"

# Focus starts in the first name; Tab walks the form in order; the time zone stays at GMT -4.
type_text "$signup" "Grace"
xdotool key Tab; xdotool type --delay 5 "Hopper"
xdotool key Tab; xdotool type --delay 5 " Grace.Hopper@Example.com "
xdotool key Tab; xdotool type --delay 5 "cobol'59"
xdotool key Tab; xdotool type --delay 5 "cobol'59 "
xdotool key Tab; xdotool type --delay 5 "10001"
xdotool key Tab Tab; xdotool type --delay 5 "WWW.Hopper-Lab.example"
shot signup
xdotool key --clearmodifiers alt+c
wait_for 20 grep -q "cmd=newlumenpaneaccount" "$work/sim.log" || fail "no newlumenpaneaccount request reached the simulator"
grep -qxF "GET /v3/rsapi.asp?cmd=newlumenpaneaccount&firstname=Grace&LastName=Hopper&email=grace.hopper@example.com&Password=cobol''59&TimeZone=-4&ZipCode=10001&DomainName=hopper-lab.example" \
  "$work/sim.log" || fail "newlumenpaneaccount address differs"
pass "account request sent with the entries normalised"

box=$(wait_window "Lumenpane")
press_in "$box" Return
login=$(wait_window "Quillmoor Login")
has_window "Signup" && fail "sign-up window still open"
conf="$XDG_CONFIG_HOME/Quillmoor/Lumenpane.conf"
grep -qxF "Login=grace.hopper@example.com" "$conf" || fail "new e-mail address not remembered"
grep -qxF "Password=cobol'59" "$conf" || fail "new password not remembered as typed"
pass "account created; the sign-in window is back with the new entries"

# The simulator keeps the account in its state file: it survives a restart on the same port.
port=${sim_base##*:}
kill "$sim_pid"; wait "$sim_pid" 2>/dev/null || true
start_sim --state "$work/state.json" --port "$port"
[ "$sim_base" = "http://127.0.0.1:$port" ] || fail "simulator came back on another address"
mails=$(curl -fsS "$sim_base/mailbox") || fail "mailbox page not served"
code=$(grep -o "grace.hopper@example.com</b>: your activation code is <code>[A-Z0-9]*" <<<"$mails" | sed 's/.*<code>//')
[ ${#code} -eq 8 ] || fail "no activation code for the new account on the mailbox page"
pass "activation code $code found on the mailbox page after a restart"

# The first sign-in is refused because the account is not active yet: the activation window opens.
xdotool windowactivate --sync "$login" 2>/dev/null || xdotool windowfocus --sync "$login"
xdotool key Return
activation=$(wait_window "Enter Activation Code")
has_window "Quillmoor Login" && fail "sign-in window still open next to the activation window"
has_window "Unable To Log In" && fail "refusal 45 was shown as an error"
grep -qxF "GET /v3/rsapi.asp?cmd=listsites&email=grace.hopper@example.com&password=cobol'59" "$work/sim.log" \
  || fail "sign-in did not send the remembered entries"
pass "refused sign-in opened the activation window"

type_text "$activation" "  $code "
shot activation
xdotool key --clearmodifiers alt+a
box=$(wait_window "Lumenpane")
grep -qxF "GET /v3/rsapi.asp?cmd=activate&signupcode=$code" "$work/sim.log" || fail "activate address differs"
press_in "$box" Return
login=$(wait_window "Quillmoor Login")
has_window "Enter Activation Code" && fail "activation window still open"
pass "account activated; the sign-in window is back"

# Signing in now opens the new account.
before=$(sim_log_count "cmd=listsites&email=grace.hopper@example.com")
xdotool windowactivate --sync "$login" 2>/dev/null || xdotool windowfocus --sync "$login"
xdotool key Return
wait_for 30 bash -c "[ \$(grep -c -F 'cmd=listsites&email=grace.hopper@example.com' '$work/sim.log') -gt $before ]" \
  || fail "no sign-in after activation"
if ! wait_for 60 has_window "Quillmoor Lumenpane \\(Build 40\\)"; then
  has_window "Unable To Log In" && fail "the activated account was refused"
  has_window "Enter Activation Code" && fail "the activated account still asks for its code"
  fail "the main window did not open"
fi
wait_for 60 grep -q "GET /lumenpane/default2.asp?autologin=true&email=grace.hopper@example.com&" "$work/sim.log" \
  || fail "the main window did not open the new account's start page"
# The site list asks a second time; the service's answer holds the one site of the sign-up.
wait_for 30 bash -c "[ \$(grep -c -F 'cmd=listsites&email=grace.hopper@example.com' '$work/sim.log') -ge $((before + 2)) ]" \
  || fail "the site list was not fetched"
pass "main window of the new account shown with its start page"
shot main
curl -fsS "$sim_base/v3/rsapi.asp?cmd=listsites&email=grace.hopper@example.com&password=cobol'59" \
  | grep -q "<STATUS>OK</STATUS><ROW><SITEID>[0-9]*</SITEID><PROFILENAME>hopper-lab.example</PROFILENAME></ROW>" \
  || fail "the service does not list the new account's site"
pass "the new account lists its site"

kill -0 "$client_pid" || fail "client ended early"
echo "1 passed, 0 failed"
