# Signs in through the real sign-in window against the real simulator, and checks the single-copy rule.
source "$E2E_LIB"
start_sim
start_client
win=$(wait_window "Quillmoor Login")
pass "sign-in window shown"

# Focus starts in the e-mail box; Tab moves to the password; Enter presses Login.
xdotool windowactivate --sync "$win" 2>/dev/null || true
xdotool key --clearmodifiers ctrl+a; xdotool type --delay 5 "  demo@example.com "
xdotool key Tab; xdotool type --delay 5 "demo123"
xdotool key Return
wait_for 20 grep -q "cmd=listsites" "$work/sim.log" || fail "no listsites request reached the simulator"
grep -qx "GET /v3/rsapi.asp?cmd=listsites&email=demo@example.com&password=demo123" "$work/sim.log" \
  || fail "listsites address differs"
pass "listsites sent with the trimmed entries"
grep -q "^Login=demo@example.com$" "$XDG_CONFIG_HOME/Quillmoor/Lumenpane.conf" || fail "e-mail address not remembered"
[ "$(stat -c %a "$XDG_CONFIG_HOME/Quillmoor/Lumenpane.conf")" = 600 ] || fail "settings file is not private"
pass "entries remembered in a private settings file"

# A second copy ends at once, silently, and the first keeps running.
start=$(date +%s%N)
"$LUMENPANE_BIN" >"$work/second.out" 2>&1 & second=$!
wait_for 10 bash -c "! kill -0 $second" || fail "second copy did not end"
wait $second; rc=$?
elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
[ $rc -eq 0 ] || fail "second copy exited with $rc"
kill -0 "$client_pid" || fail "first copy ended"
pass "second copy ended silently in ${elapsed} ms (exit 0)"
echo "1 passed, 0 failed"
