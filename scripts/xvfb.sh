# Sourced: starts a private Xvfb and exports DISPLAY; stops it when the shell exits.
# Windows under test never appear on the user's own display.
start_private_display() {
  local fdfile
  fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${1:-1280x1024x24}" -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$fdfile" ] && break
    sleep 0.1
  done
  export DISPLAY=":$(head -n1 "$fdfile")"
  rm -f "$fdfile"
  trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT
}
