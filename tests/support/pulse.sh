# Sourced by the tests that listen to the program: a throw-away PulseAudio server with one
# null sink, whose monitor can be recorded.
#
# start_pulse DIR: starts the server with its runtime folder and socket in DIR (made here,
# removed by stop_pulse), a null sink named "cues" as the default output, and anonymous
# access on its unix socket, so that any local user may play and record. Exports
# PULSE_SERVER and sets PULSE_PID; on failure returns 1 with the reason in PULSE_SKIP.
# As root the server runs as the unprivileged user nobody, since PulseAudio refuses to run
# as root in user mode.
#
# stop_pulse: stops the server if one was started, and removes its folder.

PULSE_PID=""
PULSE_DIR=""
PULSE_SKIP=""

start_pulse() {
  PULSE_DIR="$1"
  local run="$PULSE_DIR/run" as=()
  if ! command -v pulseaudio >/dev/null || ! command -v parec >/dev/null || ! command -v sox >/dev/null; then
    PULSE_SKIP="pulseaudio, pulseaudio-utils or sox is not installed"
    return 1
  fi
  mkdir -p "$run"
  chmod 755 "$PULSE_DIR"
  if [ "$(id -u)" = 0 ]; then
    chown nobody:nogroup "$run" 2>/dev/null || chown nobody "$run"
    as=(setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups --)
  fi
  "${as[@]}" env -i HOME="$run" XDG_RUNTIME_DIR="$run" XDG_CONFIG_HOME="$run" PATH=/usr/bin:/bin \
    pulseaudio -n --daemonize=no --use-pid-file=no --system=no --exit-idle-time=-1 \
      --disallow-module-loading --log-target=file:"$run/log" \
      -L "module-null-sink sink_name=cues" \
      -L "module-native-protocol-unix auth-anonymous=1 socket=$run/native" \
      >"$PULSE_DIR/server.out" 2>&1 &
  PULSE_PID=$!
  export PULSE_SERVER="unix:$run/native"
  for _ in $(seq 100); do
    if pactl info >/dev/null 2>&1; then
      return 0
    fi
    kill -0 "$PULSE_PID" 2>/dev/null || break
    sleep 0.1
  done
  PULSE_SKIP="the PulseAudio server did not start: $(tail -n 1 "$PULSE_DIR/server.out" 2>/dev/null) $(grep '^E:' "$run/log" 2>/dev/null | grep -v 'bus' | tail -n 1)"
  stop_pulse
  return 1
}

stop_pulse() {
  if [ -n "$PULSE_PID" ]; then
    kill "$PULSE_PID" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$PULSE_PID" 2>/dev/null || break; sleep 0.1; done
    kill -KILL "$PULSE_PID" 2>/dev/null || true
    wait "$PULSE_PID" 2>/dev/null || true
    PULSE_PID=""
  fi
  [ -n "$PULSE_DIR" ] && rm -rf "$PULSE_DIR"
  PULSE_DIR=""
}

# sound_spans FILE: each stretch of sound in a recording, one line "start length" in
# seconds: from the first sample above -45 dB to the last one before 0.2 s below it.
sound_spans() {
  sox "$1" -c 1 -t dat - | awk -v thr=0.0056 -v gap=0.2 '
    /^;/ { next }
    { v = $2 < 0 ? -$2 : $2
      if (v >= thr) {
        if (!on) { on = 1; s = $1 } else if ($1 - e > gap) { printf "%.4f %.4f\n", s, e - s; s = $1 }
        e = $1
      } }
    END { if (on) printf "%.4f %.4f\n", s, e - s }'
}
