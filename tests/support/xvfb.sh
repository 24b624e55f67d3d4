# Sourced by the scripts that run the program under a virtual X server.
# start_xvfb WxHxD: starts Xvfb on a display number the server picks itself, so that two
# runs at once never take the same one, exports DISPLAY and sets XVFB_PID.
start_xvfb() {
  local numberFile
  numberFile="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp 3>"$numberFile" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 200); do
    [ -s "$numberFile" ] && break
    sleep 0.05
  done
  DISPLAY=":$(head -n 1 "$numberFile")"
  export DISPLAY
  rm -f "$numberFile"
}
