# A new customer's way in through the real windows: New Account, the sign-up form, the refused first sign-in, the
# code from the simulator's mailbox, activation, and the sign-in that opens the new account.
source "$E2E_LIB"
log_has() { grep -qxF "$1" "$work/sim.log"; }
start_sim
start_client

# New Account replaces the sign-in window with the sign-up window.
focus "$(wait_window "Quillmoor Login")"
xdotool key --clearmodifiers alt+n
signup=$(wait_window "Signup")
wait_for 10 bash -c "! xdotool search --onlyvisible --name '^Quillmoor Login\$'" || fail "sign-in window still open"
# Focus starts in the first name; Tab walks the form in order; the time zone stays at GMT -4.
focus "$signup"
for entry in Grace Hopper " Grace.Hopper@Example.com " "cobol'59" "cobol'59 " 10001 ""; do
  [ -z "$entry" ] || xdotool type --delay 5 -- "$entry"; xdotool key Tab
done
xdotool type --delay 5 "WWW.Hopper-Lab.example"
xdotool key --clearmodifiers alt+c
wait_for 20 log_has "GET /v3/rsapi.asp?cmd=newlumenpaneaccount&firstname=Grace&LastName=Hopper&email=grace.hopper@example.com&Password=cobol''59&TimeZone=-4&ZipCode=10001&DomainName=hopper-lab.example" ||
  fail "no newlumenpaneaccount request with the entries normalised"
focus "$(wait_window "Lumenpane")"
xdotool key --clearmodifiers Return
login=$(wait_window "Quillmoor Login")
has_window "Signup" && fail "sign-up window still open"
conf="$XDG_CONFIG_HOME/Quillmoor/Lumenpane.conf"
grep -qxF "Login=grace.hopper@example.com" "$conf" && grep -qxF "Password=cobol'59" "$conf" ||
  fail "the new sign-in is not remembered as typed"
pass "account created with the entries normalised; the sign-in window is back with the new entries"
code=$(curl -fsS "$sim_base/mailbox" | grep -o "grace.hopper@example.com</b>: your activation code is <code>[A-Z0-9]*" |
  sed 's/.*<code>//') || true
[ ${#code} -eq 8 ] || fail "no activation code for the new account on the mailbox page"

# The first sign-in is refused because the account is not active yet: the activation window opens.
focus "$login"
xdotool key Return
activation=$(wait_window "Enter Activation Code")
has_window "Quillmoor Login" && fail "sign-in window still open next to the activation window"
has_window "Unable To Log In" && fail "refusal 45 was shown as an error"
focus "$activation"
xdotool type --delay 5 "  $code "
xdotool key --clearmodifiers alt+a
focus "$(wait_window "Lumenpane")"
xdotool key --clearmodifiers Return
login=$(wait_window "Quillmoor Login")
has_window "Enter Activation Code" && fail "activation window still open"
pass "the refused sign-in opened the activation window; activated with code $code"

# Signing in now opens the new account.
focus "$login"
xdotool key Return
wait_window "$main_title" 60 >/dev/null
wait_for 60 grep -q "GET /lumenpane/default2.asp?autologin=true&email=grace.hopper@example.com&" "$work/sim.log" ||
  fail "the main window did not open the new account's start page"
pass "main window of the new account shown with its start page"
