#!/usr/bin/env bash
# A throw-away PostgreSQL server for the tests, in a folder of its own:
#   pg_server.sh start DIR    a fresh cluster in DIR, started; always exits 0: the tests read
#                             DIR/harness.env (KEY=VALUE lines) and DIR/pgpass when the
#                             server is up, or DIR/skip-reason.txt, which says why there is none
#   pg_server.sh stop DIR     stops it (frozen or not) and removes DIR; never fails
#   pg_server.sh freeze|crash|restore DIR   SIGSTOP to the server and its children (the
#                             kernel still takes connections, nothing answers), an immediate
#                             stop as in a crash, back to serving (resumed or started again)
# The server listens on 127.0.0.1 only, on a free port (never 5432, so that a system server
# is left alone), with TLS and password (scram-sha-256) authentication for everyone. As
# root, it runs as the user nobody, since it refuses to run as root.
set -u
ADMIN_USER=clavimo_admin APP_USER=clavimo OWNER_USER=clavimo_prof # the owner sets up a room
SCRIPT="$(cd "$(dirname "$0")" && pwd -P)/$(basename "$0")"
source "$(dirname "$0")/program.sh" # now_ms and server_pids

# Waits up to $2 tenths of a second for the server of data folder $1 to end (a zombie is
# gone: server_pids names only a process working in that folder).
wait_gone() { for _ in $(seq "$2"); do [ -z "$(server_pids "$1")" ] && return 0; sleep 0.1; done; return 1; }

# Resumed first (a test may have frozen it), then an immediate shutdown, and SIGKILL for
# whatever is left after ten seconds.
stop_server() {
  local pids
  pids=($(server_pids "$1/data"))
  [ "${#pids[@]}" -gt 0 ] || return 0
  kill -CONT "${pids[@]}" 2>/dev/null
  kill -QUIT "${pids[0]}" 2>/dev/null
  wait_gone "$1/data" 100 && return 0
  kill -KILL "${pids[@]}" $(server_pids "$1/data") 2>/dev/null
  wait_gone "$1/data" 50
}

as_server_user() { if [ -n "$SERVER_USER" ]; then setpriv --reuid="$SERVER_USER" --regid="$(id -g "$SERVER_USER")" --clear-groups -- "$@"; else "$@"; fi; }
give_up() { echo "$*" | tee "$DIR/skip-reason.txt" | sed 's/^/PostgreSQL test server not started: /'; exit 0; }
secret() { od -An -tx1 -N16 /dev/urandom | tr -d ' \n'; }

start() {
  local began bindir port log
  began="$(now_ms)"
  stop_server "$DIR"
  rm -rf "$DIR"
  mkdir -p "$DIR" && DIR="$(cd "$DIR" && pwd -P)" || exit 0
  bindir="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)"
  [ -x "$bindir/initdb" ] || give_up "PostgreSQL is not installed (no /usr/lib/postgresql/*/bin/initdb; Debian package postgresql)"
  command -v openssl >/dev/null || give_up "openssl is not installed, so the server's TLS has no certificate"
  SERVER_USER="$([ "$(id -u)" -eq 0 ] && echo nobody)"
  [ -z "$SERVER_USER" ] || id "$SERVER_USER" >/dev/null 2>&1 || give_up "running as root, and there is no user nobody"
  mkdir -p "$DIR/data" "$DIR/socket" "$DIR/log" && chmod 700 "$DIR/data" && chmod 755 "$DIR/socket"
  [ -z "$SERVER_USER" ] || chown "$SERVER_USER" "$DIR/data" "$DIR/socket" "$DIR/log"
  as_server_user test -w "$DIR/data" || give_up "user $SERVER_USER cannot reach $DIR (a folder above it is closed)"
  declare -A pass=([admin]="$(secret)" [app]="$(secret)" [owner]="$(secret)")
  (umask 077 && echo "${pass[admin]}" >"$DIR/log/pw") && { [ -z "$SERVER_USER" ] || chown "$SERVER_USER" "$DIR/log/pw"; }
  cd "$DIR" || give_up "cannot enter $DIR"
  as_server_user "$bindir/initdb" -D "$DIR/data" -U "$ADMIN_USER" --pwfile="$DIR/log/pw" --auth=scram-sha-256 -E UTF8 \
    --locale=C.UTF-8 --no-sync >"$DIR/log/initdb.log" 2>&1 || give_up "initdb failed: $(tail -n 3 "$DIR/log/initdb.log" | tr '\n' ' ')"
  rm -f "$DIR/log/pw"
  openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 30 -subj "/CN=127.0.0.1" \
    -keyout "$DIR/data/server.key" -out "$DIR/data/server.crt" >"$DIR/log/openssl.log" 2>&1 ||
    give_up "the server's certificate could not be made: $(tail -n 2 "$DIR/log/openssl.log" | tr '\n' ' ')"
  chmod 600 "$DIR/data/server.key"
  printf 'local all all scram-sha-256\nhost all all 127.0.0.1/32 scram-sha-256\n' >"$DIR/data/pg_hba.conf"
  echo "include = 'harness.conf'" >>"$DIR/data/postgresql.conf"
  log="$DIR/log/server.log"
  # A port in 20000-31999, below the kernel's range of outgoing ports; tried again when
  # another program took it between the check and the start. fsync and the like off: the
  # cluster is thrown away (the program's own sessions ask for durable commits).
  for try in 1 2 3 4 5; do
    port=$((20000 + (RANDOM * 32768 + RANDOM) % 12000))
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && continue
    printf '%s\n' "listen_addresses = '127.0.0.1'" "port = $port" "unix_socket_directories = '$DIR/socket'" "ssl = on" \
      "fsync = off" "synchronous_commit = off" "full_page_writes = off" "shared_buffers = 32MB" >"$DIR/data/harness.conf"
    [ -z "$SERVER_USER" ] || chown -R "$SERVER_USER" "$DIR/data"
    as_server_user "$bindir/pg_ctl" start -w -t 60 -D "$DIR/data" -l "$log" >"$DIR/log/pg_ctl.log" 2>&1 && break
    stop_server "$DIR"
    grep -q "could not bind" "$log" 2>/dev/null && [ "$try" -lt 5 ] || give_up "the server did not start: $(tail -n 3 "$log" 2>/dev/null | tr '\n' ' ')"
  done
  [ -n "$(server_pids "$DIR/data")" ] || give_up "no free port found for the server on 127.0.0.1"
  if ! PGPASSWORD="${pass[admin]}" "$bindir/psql" -X -q -v ON_ERROR_STOP=1 -h "$DIR/socket" -p "$port" -U "$ADMIN_USER" \
    -d postgres -c "CREATE ROLE $APP_USER LOGIN PASSWORD '${pass[app]}'" \
    -c "CREATE ROLE $OWNER_USER LOGIN PASSWORD '${pass[owner]}'" >"$DIR/log/roles.log" 2>&1; then
    stop_server "$DIR"
    give_up "the roles could not be made: $(tail -n 2 "$DIR/log/roles.log" | tr '\n' ' ')"
  fi
  # Written last, under another name first: its presence means the server is ready.
  printf '%s\n' "PG_BINDIR=$bindir" "PG_HOST=127.0.0.1" "PG_PORT=$port" "PG_SOCKET_DIR=$DIR/socket" "PG_DATA=$DIR/data" \
    "PG_LOG=$log" "PG_RUN_AS=$SERVER_USER" "PG_ADMIN_USER=$ADMIN_USER" "PG_ADMIN_PASSWORD=${pass[admin]}" \
    "PG_USER=$APP_USER" "PG_PASSWORD=${pass[app]}" "PG_OWNER_USER=$OWNER_USER" "PG_OWNER_PASSWORD=${pass[owner]}" \
    "PG_SERVER_SCRIPT=$SCRIPT" >"$DIR/harness.env.part"
  printf '*:*:*:%s:%s\n' "$APP_USER" "${pass[app]}" "$OWNER_USER" "${pass[owner]}" >"$DIR/pgpass" # for PGPASSFILE
  chmod 600 "$DIR/pgpass" "$DIR/harness.env.part" && mv "$DIR/harness.env.part" "$DIR/harness.env"
  echo "PostgreSQL started on 127.0.0.1:$port in $(($(now_ms) - began)) ms (cluster in $DIR)"
}

# The postmaster first, so that it forks no new child, then its children once it is stopped.
freeze() {
  local pm line
  pm="$(server_pids | head -n 1)"
  kill -STOP "$pm" && for _ in $(seq 100); do read -r line <"/proc/$pm/stat" && [[ "${line##*) }" == T* ]] && break; sleep 0.02; done
  kill -STOP $(server_pids)
}

restore() {
  kill -CONT $(server_pids) 2>/dev/null
  [ -n "$(server_pids)" ] || as_server_user "$PG_BINDIR/pg_ctl" start -w -t 60 -D "$PG_DATA" -l "$PG_LOG" >/dev/null
}

[ $# -eq 2 ] && [ -n "$2" ] || { echo "usage: $0 start|stop|freeze|crash|restore DIR" >&2; exit 2; }
DIR="$2"
case "$1" in
  start) start ;;
  stop)
    [ -d "$DIR" ] || exit 0
    stop_server "$DIR"
    rm -rf "$DIR" 2>/dev/null
    echo "PostgreSQL test server stopped and removed" ;;
  freeze | crash | restore)
    [ -f "$DIR/harness.env" ] || { echo "no test server in $DIR" >&2; exit 1; }
    source "$DIR/harness.env"
    SERVER_USER="$PG_RUN_AS"
    cd "$DIR" || exit 1
    case "$1" in crash) stop_server "$DIR" ;; *) "$1" ;; esac ;;
  *) exit 2 ;;
esac
