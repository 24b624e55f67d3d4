#!/usr/bin/env bash
# A throw-away PostgreSQL server for the tests, in a folder of its own:
#
#   pg_server.sh start DIR   makes a fresh cluster in DIR and starts it
#   pg_server.sh stop DIR    stops it and removes DIR
#
# The server listens on 127.0.0.1 only, on a free port picked here (never 5432, so that a
# system server is left alone), with its socket in DIR/socket, TLS on with a self-signed
# certificate made on the spot, and password (scram-sha-256) authentication for everyone.
# As root, initdb and the server run as the unprivileged user nobody, since the server
# refuses to run as root.
#
# start always exits 0: the tests read DIR/harness.env (one KEY=VALUE a line) when the
# server is up, or DIR/skip-reason.txt, one line saying why there is none, and skip.
# stop never fails: it resumes a frozen server, stops it, and removes the folder.
set -u

ADMIN_USER=clavimo_admin
APP_USER=clavimo
# The role that owns a room's tables, as the person who sets up the room has.
OWNER_USER=clavimo_prof
RUN_AS=nobody

usage() {
  echo "usage: $0 start DIR | stop DIR" >&2
  exit 2
}

# now_ms and server_pids.
source "$(dirname "$0")/program.sh"

# A process that has ended but is not reaped yet (a zombie, whose parent is slow to wait
# for it) counts as gone.
alive() {
  local line state
  read -r line 2>/dev/null <"/proc/$1/stat" || return 1
  read -r state _ <<<"${line##*) }"
  [ "$state" != Z ] && [ "$state" != X ]
}

wait_gone() {
  local pid="$1" tenths="$2"
  while [ "$tenths" -gt 0 ] && alive "$pid"; do
    sleep 0.1
    tenths=$((tenths - 1))
  done
  ! alive "$pid"
}

# Stops the server of folder $1 if one runs there: resumed first (a test may have frozen
# it), then an immediate shutdown (the cluster is thrown away, so nothing needs to be
# written out), and SIGKILL for whatever is left.
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

# Runs a command as the server's user: nobody when we are root, ourselves otherwise.
as_server_user() {
  if [ -n "$SERVER_USER" ]; then
    setpriv --reuid="$SERVER_USER" --regid="$(id -g "$SERVER_USER")" --clear-groups -- "$@"
  else
    "$@"
  fi
}

# Writes the reason the tests will give for skipping, and ends start with success.
give_up() {
  echo "$*" >"$DIR/skip-reason.txt"
  echo "PostgreSQL test server not started: $*"
  exit 0
}

port_in_use() {
  (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

# A port in 20000-31999: below the kernel's range of outgoing ports, far from 5432.
pick_port() {
  local port
  for _ in $(seq 50); do
    port=$((20000 + (RANDOM * 32768 + RANDOM) % 12000))
    port_in_use "$port" || { echo "$port"; return 0; }
  done
  return 1
}

start() {
  local began bindir pgpass adminpass apppass ownerpass port log tries
  began="$(now_ms)"
  stop_server "$DIR"
  rm -rf "$DIR"
  mkdir -p "$DIR" || { echo "cannot create $DIR" >&2; exit 0; }
  DIR="$(cd "$DIR" && pwd -P)"

  bindir="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)"
  [ -n "$bindir" ] && [ -x "$bindir/initdb" ] && [ -x "$bindir/pg_ctl" ] ||
    give_up "PostgreSQL is not installed (no /usr/lib/postgresql/*/bin/initdb; Debian package postgresql)"
  command -v openssl >/dev/null ||
    give_up "openssl is not installed, so no certificate can be made for the server's TLS"

  SERVER_USER=""
  if [ "$(id -u)" -eq 0 ]; then
    SERVER_USER="$RUN_AS"
    id "$SERVER_USER" >/dev/null 2>&1 || give_up "running as root, and there is no user $RUN_AS to run the server"
  fi

  mkdir -p "$DIR/data" "$DIR/socket" "$DIR/log"
  chmod 700 "$DIR/data"
  if [ -n "$SERVER_USER" ]; then
    chown "$SERVER_USER" "$DIR/data" "$DIR/socket" "$DIR/log"
    as_server_user test -w "$DIR/data" ||
      give_up "user $SERVER_USER cannot reach $DIR (a folder above it is closed to other users)"
  fi
  # The tests connect through the socket as whoever runs them.
  chmod 755 "$DIR/socket"

  adminpass="$(od -An -tx1 -N16 /dev/urandom | tr -d ' \n')"
  apppass="$(od -An -tx1 -N16 /dev/urandom | tr -d ' \n')"
  ownerpass="$(od -An -tx1 -N16 /dev/urandom | tr -d ' \n')"
  # initdb reads the administrator's password from a file the server's user can read.
  pgpass="$DIR/log/initdb-password"
  (umask 077 && printf '%s\n' "$adminpass" >"$pgpass")
  [ -n "$SERVER_USER" ] && chown "$SERVER_USER" "$pgpass"

  cd "$DIR" || give_up "cannot enter $DIR"
  if ! as_server_user "$bindir/initdb" -D "$DIR/data" -U "$ADMIN_USER" --pwfile="$pgpass" \
      --auth=scram-sha-256 -E UTF8 --locale=C.UTF-8 --no-sync >"$DIR/log/initdb.log" 2>&1; then
    give_up "initdb failed: $(tail -n 3 "$DIR/log/initdb.log" | tr '\n' ' ')"
  fi
  rm -f "$pgpass"

  # A certificate for this run only; the tests ask for TLS, not for whom it is.
  if ! openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes \
      -days 30 -subj "/CN=127.0.0.1" -keyout "$DIR/data/server.key" \
      -out "$DIR/data/server.crt" >"$DIR/log/openssl.log" 2>&1; then
    give_up "the server's certificate could not be made: $(tail -n 2 "$DIR/log/openssl.log" | tr '\n' ' ')"
  fi
  chmod 600 "$DIR/data/server.key"
  [ -n "$SERVER_USER" ] && chown "$SERVER_USER" "$DIR/data/server.key" "$DIR/data/server.crt"

  # Password authentication everywhere, over TCP with or without TLS.
  cat >"$DIR/data/pg_hba.conf" <<EOF
local all all scram-sha-256
host  all all 127.0.0.1/32 scram-sha-256
EOF

  log="$DIR/log/server.log"
  tries=0
  while :; do
    tries=$((tries + 1))
    port="$(pick_port)" || give_up "no free port found for the server on 127.0.0.1"
    # fsync and friends off: the cluster is thrown away, and the tests want speed. A server
    # killed with -m immediate still keeps what reached the system's cache; with
    # synchronous_commit off by default, the program's own sessions must ask for durable
    # commits, which the test of a hard stop then shows.
    cat >"$DIR/data/harness.conf" <<EOF
listen_addresses = '127.0.0.1'
port = $port
unix_socket_directories = '$DIR/socket'
ssl = on
ssl_cert_file = 'server.crt'
ssl_key_file = 'server.key'
fsync = off
synchronous_commit = off
full_page_writes = off
max_connections = 100
shared_buffers = 32MB
logging_collector = off
log_line_prefix = '%m [%p] %u@%d '
EOF
    grep -q "^include = 'harness.conf'" "$DIR/data/postgresql.conf" ||
      echo "include = 'harness.conf'" >>"$DIR/data/postgresql.conf"
    [ -n "$SERVER_USER" ] && chown "$SERVER_USER" "$DIR/data/harness.conf"

    if as_server_user "$bindir/pg_ctl" start -w -t 60 -D "$DIR/data" -l "$log" >"$DIR/log/pg_ctl.log" 2>&1; then
      break
    fi
    # Another program may have taken the port between the check and the start.
    if grep -q "could not bind" "$log" 2>/dev/null && [ "$tries" -lt 5 ]; then
      stop_server "$DIR"
      continue
    fi
    stop_server "$DIR"
    give_up "the server did not start: $(tail -n 3 "$log" 2>/dev/null | tr '\n' ' ')"
  done

  if ! PGPASSWORD="$adminpass" "$bindir/psql" -X -q -v ON_ERROR_STOP=1 -h "$DIR/socket" -p "$port" \
      -U "$ADMIN_USER" -d postgres >"$DIR/log/roles.log" 2>&1 <<EOF
CREATE ROLE $APP_USER LOGIN PASSWORD '$apppass';
CREATE ROLE $OWNER_USER LOGIN PASSWORD '$ownerpass';
EOF
  then
    stop_server "$DIR"
    give_up "the roles $APP_USER and $OWNER_USER could not be created: $(tail -n 2 "$DIR/log/roles.log" | tr '\n' ' ')"
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
PG_RUN_AS_GROUP=$([ -n "$SERVER_USER" ] && id -g "$SERVER_USER")
PG_ADMIN_USER=$ADMIN_USER
PG_ADMIN_PASSWORD=$adminpass
PG_USER=$APP_USER
PG_PASSWORD=$apppass
PG_OWNER_USER=$OWNER_USER
PG_OWNER_PASSWORD=$ownerpass
EOF
  chmod 600 "$DIR/harness.env.part"
  mv "$DIR/harness.env.part" "$DIR/harness.env"
  echo "PostgreSQL $("$bindir/postgres" --version | awk '{print $3}') started on 127.0.0.1:$port" \
       "in $(( $(now_ms) - began )) ms (cluster in $DIR)"
}

stop() {
  local began
  began="$(now_ms)"
  [ -d "$DIR" ] || return 0
  stop_server "$DIR"
  rm -rf "$DIR" 2>/dev/null
  echo "PostgreSQL test server stopped and removed in $(( $(now_ms) - began )) ms"
}

[ $# -eq 2 ] || usage
DIR="$2"
[ -n "$DIR" ] || usage
case "$1" in
  start) start ;;
  stop) stop ;;
  *) usage ;;
esac
exit 0
