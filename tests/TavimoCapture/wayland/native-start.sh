#!/usr/bin/env bash
# Starts the app as a native Wayland client on a headless weston and checks
# that it shows its window: a toplevel titled "Tavimo Capture" that the
# compositor configures and that gets a buffer.
set -euo pipefail
app=$1
runtime=$(mktemp -d)
weston=
cleanup() {
  [[ -n $weston ]] && kill "$weston" 2>/dev/null && wait "$weston" 2>/dev/null
  rm -rf "$runtime"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR=$runtime

weston --backend=headless-backend.so --socket=tavimo-test --idle-time=0 --no-config >"$runtime/weston.log" 2>&1 &
weston=$!
for _ in $(seq 100); do
  [[ -S $runtime/tavimo-test ]] && break
  sleep 0.1
done
if [[ ! -S $runtime/tavimo-test ]]; then
  echo "weston did not start:"
  cat "$runtime/weston.log"
  exit 1
fi

status=0
WAYLAND_DISPLAY=tavimo-test QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=1 timeout 5 "$app" >"$runtime/app.log" 2>&1 || status=$?
if [[ $status -ne 124 ]]; then
  echo "the app ended by itself (status $status):"
  grep -v '^\[' "$runtime/app.log" || true
  exit 1
fi
for expected in 'xdg_toplevel@[0-9]*\.set_title("Tavimo Capture")' 'xdg_toplevel@[0-9]*\.configure(' \
  'wl_surface@[0-9]*\.attach(wl_buffer@'; do
  if ! grep -q "$expected" "$runtime/app.log"; then
    echo "no $expected in the app's Wayland traffic"
    exit 1
  fi
done
