# Sourced by every end-to-end script, and by pg_server.sh: the helpers they all share.
# The scripts that run the program set work (a scratch folder whose out.log receives the
# program's output) and app_pid (the program while it runs).

# What a script leaves running is stopped when it ends, however it ends: the program
# (app_pid), every process in pids, then the script's own undo_more if it has one; the
# scratch folder goes last. A script takes this with `trap end_script EXIT`.
#
# Only the script's own shell cleans up. A subshell started with & keeps the script's traps
# until it gets to run, and bash runs the EXIT trap of a shell ended by a signal: a guard
# subshell killed a few milliseconds after it started would otherwise remove the scratch
# folder and stop the servers under the script, which goes on.
pids=()
app_pid=""
end_script() {
  local status=$?
  [ "$BASHPID" = "$$" ] || exit "$status"
  set +e
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  declare -F undo_more >/dev/null && undo_more
  [ -n "${work:-}" ] && rm -rf "$work"
  exit "$status"
}

# fail MESSAGE: says what failed, with the program's own output: a sanitizer report, for
# one, is there.
fail() {
  echo "FAIL: $*" >&2
  [ -s "${work:-}/out.log" ] && sed 's/^/  program: /' "$work/out.log" | tail -n 40 >&2
  [ -s "${work:-}/xvfb.log" ] && sed 's/^/  X server: /' "$work/xvfb.log" | tail -n 10 >&2
  exit 1
}

# skip REASON: ends the script with the status CTest counts as skipped (the tests' property
# SKIP_RETURN_CODE), saying why.
skip() {
  echo "SKIP: $*"
  exit 77
}

# now_ms: the time in milliseconds, read from the shell itself: starting a process to
# read the clock would add its own delay on a busy machine.
now_ms() { local t="$EPOCHREALTIME"; echo $((${t//[.,]/} / 1000)); }

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

# server_pids [DATA]: the PostgreSQL server whose data folder is DATA ($PG_DATA by
# default) and its children, the server first; nothing when none runs there. The pid in
# postmaster.pid counts only if that process works in DATA, so that a pid left by a dead
# server and reused by another process is never signalled.
server_pids() {
  local data pid stat line ppid
  data="$(cd "${1:-$PG_DATA}" 2>/dev/null && pwd -P)" || return 0
  pid="$(head -n 1 "$data/postmaster.pid" 2>/dev/null)" || return 0
  [[ "$pid" =~ ^[0-9]+$ ]] && [ "$(readlink "/proc/$pid/cwd" 2>/dev/null)" = "$data" ] || return 0
  echo "$pid"
  for stat in /proc/[0-9]*/stat; do
    read -r line 2>/dev/null <"$stat" || continue
    # The command name in parentheses may hold spaces: read after its closing one.
    read -r _ ppid _ <<<"${line##*) }"
    [ "$ppid" = "$pid" ] && { stat="${stat#/proc/}"; echo "${stat%/stat}"; }
  done
  return 0
}
