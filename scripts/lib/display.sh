# A real X server with a system tray for the tests that need one: Xvfb on a
# free display number (unix socket only, no TCP) and trayer docked in it.
# Sourced by scripts/test; exports ORVE_TEST_DISPLAY when both are up.

ORVE_XVFB_PID=""
ORVE_TRAYER_PID=""

orve_start_display() {
  command -v Xvfb >/dev/null || { echo "display: Xvfb is not installed; tray tests will skip" >&2; return 0; }
  local n
  for n in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    ORVE_XVFB_PID=$!
    local i
    for i in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      sleep 0.1
    done
    if kill -0 "$ORVE_XVFB_PID" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then
      export ORVE_TEST_DISPLAY=":$n"
      break
    fi
    ORVE_XVFB_PID=""
  done
  [ -n "${ORVE_TEST_DISPLAY:-}" ] || { echo "display: Xvfb did not start; tray tests will skip" >&2; return 0; }
  if command -v trayer >/dev/null; then
    DISPLAY="$ORVE_TEST_DISPLAY" trayer --edge top --align right --widthtype pixel --width 200 \
      --heighttype pixel --height 32 --SetDockType false --transparent false >/dev/null 2>&1 &
    ORVE_TRAYER_PID=$!
    export ORVE_TEST_TRAY=1
  fi
}

orve_stop_display() {
  [ -n "$ORVE_TRAYER_PID" ] && kill "$ORVE_TRAYER_PID" 2>/dev/null
  [ -n "$ORVE_XVFB_PID" ] && kill "$ORVE_XVFB_PID" 2>/dev/null
  ORVE_TRAYER_PID=""
  ORVE_XVFB_PID=""
  return 0
}
