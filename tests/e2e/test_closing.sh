# Closing the sign-in, sign-up or activation window while it waits for the service ends the program there and then,
# while the simulator still holds the answer (30 s): no waiting for it, no window afterwards, no process left.
source "$E2E_LIB"
start_sim
# closed_while_waiting TITLE COMMAND: the window's command sent, then its close box while the answer is held back.
closed_while_waiting() {
  fault delay=30000
  xdotool key --clearmodifiers "$2"
  wait_for 10 logged_at_least "GET /v3/rsapi.asp?cmd=" "$((requests + 1))" || fail "$1: nothing was asked"
  local children=$(tree_of "$client_pid")
  close_window "$(wait_window "$1")"
  ended 5 "$children"
  has_window "$1" && fail "$1: the window is still there"
  fault delay=0
}
requests=0

start_client
fill_sign_in
closed_while_waiting "Quillmoor Login" Return
pass "the sign-in window closed while it waited: the program ended at once"

requests=$(logged "GET /v3/rsapi.asp?cmd=")
start_client
focus "$(wait_window "Quillmoor Login" 30)"
xdotool key --clearmodifiers alt+n
focus "$(wait_window "Signup")"
for entry in Ada Lovelace ada@example.com engine1 engine1 02139 ""; do
  [ -z "$entry" ] || xdotool type --delay 5 -- "$entry"; xdotool key Tab
done
xdotool type --delay 5 "example.com"
closed_while_waiting "Signup" alt+c
pass "the sign-up window closed while it waited: the program ended at once"

start_client
fill_sign_in pending@example.com
xdotool key ctrl+a; xdotool type --delay 5 "pending123"
xdotool key Return
focus "$(wait_window "Enter Activation Code")"
xdotool type --delay 5 "QM7K2P9X"
requests=$(logged "GET /v3/rsapi.asp?cmd=")
closed_while_waiting "Enter Activation Code" alt+a
pass "the activation window closed while it waited: the program ended at once"
