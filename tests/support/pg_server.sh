#!/usr/bin/env bash
# A throw-away PostgreSQL server for the tests, in a folder of its own:
#
#   pg_server.sh start DIR     makes a fresh cluster in DIR and starts it; always exits 0: the
#                              tests read DIR/harness.env (KEY=VALUE lines) when the server
#                              is up, or DIR/skip-reason.txt, which says why there is none
#   pg_server.sh stop DIR      stops it (frozen or not) and removes DIR; never fails
#   pg_server.sh freeze|thaw|crash|restart|restore DIR
#                              SIGSTOP to the server and every child (the kernel still takes
#                              connections, nothing answers), SIGCONT, an immediate stop as
#                              in a crash, a start again on the same port, back to serving
#
# The server listens on 127.0.0.1 only, on a free port (never 5432, so that a system server
# is left alone), with its socket in DIR/socket, TLS on with a certificate made on the spot,
# and password (scram-sha-256) authentication for everyone. As root, it runs as the user
# nobody, since it refuses to run as root.
set -u

ADMIN_USER=clavimo_admin
APP_USER=clavimo
OWNER_USER=clavimo_prof # owns a room's tables, as the person who sets up the room does
RUN_AS=nobody
SCRIPT="$(cd "$(dirname "$0")" && pwd -P)/$(basename "$0")"

# now_ms and server_pids.
source "$(dirname "$0")/program.sh"

# The state letter of a process; X when it is gone. A zombie, whose parent is slow to reap
# it, counts as gone.
state_of() {
  local line state
  read -r line 2>/dev/null <"/proc/$1/stat" || { echo X; return; }
  read -r state _ <<<"${line##*) }"
  echo "$state"
}

wait_gone() {
  local tenths="$2"
  while [ "$tenths" -gt 0 ]; do
    case "$(state_of "$1")" in Z | X) return 0 ;; esac
    sleep 0.1
    tenths=$((tenths - 1))
  done
  return 1
}

# Resumed first (a test may have frozen it), then an immediate shutdown (nothing needs to
# be written out), and SIGKILL for whatever is left.
stop_server() {
  local pids
  pids=($(server_pids "$1/data"))
  [ "${#pids[@]}" -gt 0 ] || return 0
  kill -CONT "${pids[@]}" 2>/dev/null
  kill -QUIT "${pids[0]}" 2>/dev/null
  wait_gone "${pids[0]}" 100 && return 0
  kill -KILL "${pids[@]}" $(server_pids "$1/data") 2>/dev/null
  wait_gone "${pids[0]}" 50
  return 0
}

as_server_user() {
  if [ -n "$SERVER_USER" ]; then
    setpriv --reuid="$SERVER_USER" --regid="$(id -g "$SERVER_USER")" --clear-groups -- "$@"
  else
    "$@"
  fi
}

give_up() {
  echo "$*" >"$DIR/skip-reason.txt"
  echo "PostgreSQL test server not started: $*"
  exit 0
}

# A port in 20000-31999: below the kernel's range of outgoing ports, far from 5432.
pick_port() {
  local port
  for _ in $(seq 50); do
    port=$((20000 + (RANDOM * 32768 + RANDOM) % 12000))
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null || { echo "$port"; return 0; }
  done
  return 1
}

secret() { od -An -tx1 -N16 /dev/urandom | tr -d ' \n'; }

start() {
  local began bindir pgpass adminpass apppass ownerpass port log tries
  began="$(now_ms)"
  stop_server "$DIR"
  rm -rf "$DIR"
  mkdir -p "$DIR" && DIR="$(cd "$DIR" && pwd -P)" || exit 0
  bindir="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)"
  [ -x "$bindir/initdb" ] || give_up "PostgreSQL is not installed (no /usr/lib/postgresql/*/bin/initdb; Debian package postgresql)"
  command -v openssl >/dev/null || give_up "openssl is not installed, so the server's TLS has no certificate"
  SERVER_USER="$([ "$(id -u)" -eq 0 ] && echo "$RUN_AS")"
  [ -z "$SERVER_USER" ] || id "$SERVER_USER" >/dev/null 2>&1 || give_up "running as root, and there is no user $RUN_AS"
  mkdir -p "$DIR/data" "$DIR/socket" "$DIR/log"
  chmod 700 "$DIR/data"
  [ -z "$SERVER_USER" ] || chown "$SERVER_USER" "$DIR/data" "$DIR/socket" "$DIR/log"
  as_server_user test -w "$DIR/data" || give_up "user $SERVER_USER cannot reach $DIR (a folder above it is closed)"
  chmod 755 "$DIR/socket" # the tests connect through it as whoever runs them
  adminpass="$(secret)" apppass="$(secret)" ownerpass="$(secret)"
  pgpass="$DIR/log/initdb-password"
  (umask 077 && printf '%s\n' "$adminpass" >"$pgpass")
  [ -z "$SERVER_USER" ] || chown "$SERVER_USER" "$pgpass"
  cd "$DIR" || give_up "cannot enter $DIR"
  as_server_user "$bindir/initdb" -D "$DIR/data" -U "$ADMIN_USER" --pwfile="$pgpass" --auth=scram-sha-256 -E UTF8 \
    --locale=C.UTF-8 --no-sync >"$DIR/log/initdb.log" 2>&1 ||
    give_up "initdb failed: $(tail -n 3 "$DIR/log/initdb.log" | tr '\n' ' ')"
  rm -f "$pgpass"
  openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 30 -subj "/CN=127.0.0.1" \
    -keyout "$DIR/data/server.key" -out "$DIR/data/server.crt" >"$DIR/log/openssl.log" 2>&1 ||
    give_up "the server's certificate could not be made: $(tail -n 2 "$DIR/log/openssl.log" | tr '\n' ' ')"
  chmod 600 "$DIR/data/server.key"
  [ -z "$SERVER_USER" ] || chown "$SERVER_USER" "$DIR/data/server.key" "$DIR/data/server.crt"
  printf 'local all all scram-sha-256\nhost all all 127.0.0.1/32 scram-sha-256\n' >"$DIR/data/pg_hba.conf"
  echo "include = 'harness.conf'" >>"$DIR/data/postgresql.conf"

  log="$DIR/log/server.log"
  tries=0
  while :; do
    tries=$((tries + 1))
    port="$(pick_port)" || give_up "no free port found for the server on 127.0.0.1"
    # fsync and friends off: the cluster is thrown away. With synchronous_commit off by
    # default, the program's own sessions must ask for durable commits, which the test of a
    # hard stop then shows.
    cat >"$DIR/data/harness.conf" <<EOF
listen_addresses = '127.0.0.1'
port = $port
unix_socket_directories = '$DIR/socket'
ssl = on
fsync = off
synchronous_commit = off
full_page_writes = off
shared_buffers = 32MB
EOF
    [ -z "$SERVER_USER" ] || chown "$SERVER_USER" "$DIR/data/harness.conf"
    as_server_user "$bindir/pg_ctl" start -w -t 60 -D "$DIR/data" -l "$log" >"$DIR/log/pg_ctl.log" 2>&1 && break
    stop_server "$DIR"
    # Another program may have taken the port between the check and the start.
    grep -q "could not bind" "$log" 2>/dev/null && [ "$tries" -lt 5 ] && continue
    give_up "the server did not start: $(tail -n 3 "$log" 2>/dev/null | tr '\n' ' ')"
  done
  if ! PGPASSWORD="$adminpass" "$bindir/psql" -X -q -v ON_ERROR_STOP=1 -h "$DIR/socket" -p "$port" -U "$ADMIN_USER" \
      -d postgres -c "CREATE ROLE $APP_USER LOGIN PASSWORD '$apppass'" \
      -c "CREATE ROLE $OWNER_USER LOGIN PASSWORD '$ownerpass'" >"$DIR/log/roles.log" 2>&1; then
    stop_server "$DIR"
    give_up "the roles could not be made: $(tail -n 2 "$DIR/log/roles.log" | tr '\n' ' ')"
  fi
  # Written last, under another name first: its presence means the server is ready.
  cat >"$DIR/harness.env.part" <<EOF
PG_BINDIR=$bindir
PG_HOST=127.0.0.1
PG_PORT=$port
PG_SOCKET_DIR=$DIR/socket
PG_DATA=$DIR/data
PG_LOG=$log
PG_RUN_AS=$SERVER_USER
PG_ADMIN_USER=$ADMIN_USER
PG_ADMIN_PASSWORD=$adminpass
PG_USER=$APP_USER
PG_PASSWORD=$apppass
PG_OWNER_USER=$OWNER_USER
PG_OWNER_PASSWORD=$ownerpass
PG_SERVER_SCRIPT=$SCRIPT
EOF
  chmod 600 "$DIR/harness.env.part"
  mv "$DIR/harness.env.part" "$DIR/harness.env"
  echo "PostgreSQL started on 127.0.0.1:$port in $(($(now_ms) - began)) ms (cluster in $DIR)"
}

# The postmaster first, so that it forks no new child meanwhile; then its children, looked
# for again until none is left running.
freeze() {
  local pid running
  for _ in $(seq 250); do
    running=0
    for pid in $(server_pids "$PG_DATA"); do
      case "$(state_of "$pid")" in T | Z | X) ;; *) kill -STOP "$pid" 2>/dev/null && running=1 ;; esac
    done
    [ "$running" = 0 ] && return 0
    sleep 0.02
  done
  echo "some server processes did not stop" >&2
  return 1
}

thaw() {
  kill -CONT $(server_pids "$PG_DATA") 2>/dev/null
  return 0
}

restart() {
  [ -n "$(server_pids "$PG_DATA")" ] || as_server_user "$PG_BINDIR/pg_ctl" start -w -t 60 -D "$PG_DATA" -l "$PG_LOG" >/dev/null
}

[ $# -eq 2 ] && [ -n "$2" ] || { echo "usage: $0 start|stop|freeze|thaw|crash|restart|restore DIR" >&2; exit 2; }
DIR="$2"
case "$1" in
  start) start ;;
  stop)
    began="$(now_ms)"
    [ -d "$DIR" ] || exit 0
    stop_server "$DIR"
    rm -rf "$DIR" 2>/dev/null
    echo "PostgreSQL test server stopped and removed in $(($(now_ms) - began)) ms" ;;
  freeze | thaw | crash | restart | restore)
    [ -f "$DIR/harness.env" ] || { echo "no test server in $DIR" >&2; exit 1; }
    source "$DIR/harness.env"
    SERVER_USER="$PG_RUN_AS"
    cd "$DIR" || exit 1
    case "$1" in
      crash) stop_server "$DIR" ;;
      restore) thaw && restart ;;
      *) "$1" ;;
    esac ;;
  *) exit 2 ;;
esac
