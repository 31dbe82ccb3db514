# Prints how long the sign-in window takes to appear after the program starts (median of several runs),
# and the resident memory at that moment. A figure, not a limit: it fails only if no window appears.
source "$E2E_LIB"
runs=${STARTUP_RUNS:-7}
POLL_SECONDS=0.01
times=()
for i in $(seq "$runs"); do
  start=$(date +%s%N)
  start_client
  wait_for 20 has_window "Quillmoor Login" || { cat "$work/client.out" >&2; fail "no sign-in window"; }
  end=$(date +%s%N)
  times+=($(( (end - start) / 1000000 )))
  rss=$(awk '/VmRSS/ {print $2}' "/proc/$client_pid/status")
  kill "$client_pid"; wait "$client_pid" 2>/dev/null || true
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "startup to sign-in window shown: median ${sorted[$((runs / 2))]} ms, min ${sorted[0]} ms, max ${sorted[$((runs - 1))]} ms over $runs runs; resident memory ${rss} kB"
