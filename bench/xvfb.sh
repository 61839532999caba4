# Sourced by the window benchmarks: start_xvfb DISPLAY GEOMETRY starts an X server for the
# benchmark's own use, with a fresh home, and stops it when the script ends. Without -noreset the
# server resets when its last client leaves, so a readiness probe could leave it resetting just
# as the program connects.
start_xvfb() {
  display=$1
  # A server left from a previous run may still hold the display for a moment.
  for try in $(seq 100); do [ -e "/tmp/.X${display#:}-lock" ] || break; sleep 0.05; done
  Xvfb "$display" -noreset -screen 0 "$2" >/dev/null 2>&1 &
  xvfb=$!
  home=$(mktemp -d)
  trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -rf "$home"' EXIT
  export DISPLAY=$display XDG_CONFIG_HOME=$home XDG_DATA_HOME=$home
  for try in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.05; done
  if ! kill -0 "$xvfb" 2>/dev/null; then echo "Xvfb could not start on $display" >&2; exit 1; fi
}
