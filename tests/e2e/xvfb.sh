# Starts Xvfb on a display it picks itself and sets DISPLAY once the server accepts connections.
# A display number drawn at random may be another run's server: this run's keys would then reach
# that run's windows, or the run would time against a server that never started.
#   start_xvfb <folder for the display file> [Xvfb options...]   (sets xvfb_pid)
start_xvfb() {
  local dir="$1"
  shift
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp "$@" 3>"$dir/display" >/dev/null 2>&1 &
  xvfb_pid=$!
  # At most 30 s, which a busy machine may need.
  for _ in $(seq 300); do
    [ -s "$dir/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  [ -s "$dir/display" ] || { echo "Xvfb did not start" >&2; return 1; }
  export DISPLAY=":$(head -1 "$dir/display")"
}
