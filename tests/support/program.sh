# Sourced by the scripts that run the real program. They set work (a scratch folder whose
# out.log receives the program's output) and app_pid (the program while it runs).

# fail MESSAGE: says what failed, with the program's own output: a sanitizer report, for
# one, is there.
fail() {
  echo "FAIL: $*" >&2
  [ -s "$work/out.log" ] && sed 's/^/  program: /' "$work/out.log" | tail -n 40 >&2
  [ -s "$work/xvfb.log" ] && sed 's/^/  X server: /' "$work/xvfb.log" | tail -n 10 >&2
  exit 1
}

# expect_end SECONDS WHAT: waits up to SECONDS for the program to end after WHAT, then
# fails if it still runs or ended with another status than 0 (a clean end returns 0; a
# sanitizer finding at exit, a leak say, does not).
expect_end() {
  local status=0
  for _ in $(seq $(($1 * 20))); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.05; done
  kill -0 "$app_pid" 2>/dev/null && fail "the program did not end after $2"
  wait "$app_pid" || status=$?
  app_pid=""
  [ "$status" = 0 ] || fail "the program ended with status $status"
}
