# Services the tests need, started on this machine only (unix sockets and
# 127.0.0.1) and stopped again by orve_stop_services. Sourced by scripts/test.
# Each service that comes up exports the variable the tests look for; a test
# whose service is missing skips itself and says why.

ORVE_SERVICES_DIR=""
ORVE_PULSE_STARTED=0

orve_start_services() {
  ORVE_SERVICES_DIR="$(mktemp -d /tmp/orve-services.XXXXXX)"
  # Qt and PulseAudio want a private runtime folder.
  export XDG_RUNTIME_DIR="$ORVE_SERVICES_DIR/runtime"
  mkdir -p -m 700 "$XDG_RUNTIME_DIR"
  orve_start_pulse
}

# A PulseAudio server with a null sink as the default device, so the real
# output path (PortAudio -> ALSA -> PulseAudio) can be played and recorded.
orve_start_pulse() {
  command -v pulseaudio >/dev/null || { echo "services: pulseaudio is not installed" >&2; return 0; }
  local log="$ORVE_SERVICES_DIR/pulseaudio.log"
  if ! pulseaudio -D -n --exit-idle-time=-1 --log-target="file:$log" \
      --load=module-native-protocol-unix \
      --load="module-null-sink sink_name=orve_null rate=44100" \
      --load=module-always-sink </dev/null >/dev/null 2>&1; then
    echo "services: PulseAudio did not start (see $log); the sound server test will skip" >&2
    return 0
  fi
  ORVE_PULSE_STARTED=1
  local i
  for i in $(seq 1 100); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.1
  done
  if ! pactl set-default-sink orve_null >/dev/null 2>&1; then
    echo "services: PulseAudio does not answer (see $log); the sound server test will skip" >&2
    return 0
  fi
  export ORVE_TEST_PULSE=1
}

orve_stop_services() {
  if [ "$ORVE_PULSE_STARTED" = 1 ]; then
    pulseaudio --kill >/dev/null 2>&1 || true
  fi
  [ -n "$ORVE_SERVICES_DIR" ] && rm -rf "$ORVE_SERVICES_DIR"
  ORVE_SERVICES_DIR=""
}
