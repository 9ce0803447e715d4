#!/usr/bin/env bash
# Captures through the desktop's real Screenshot portal: xdg-desktop-portal with
# its wlroots backend on a headless sway, with a session bus of its own.
#   real-portal.sh APP screen   --screen and --all-displays --output, without and with the app running
#   real-portal.sh APP area     --area (--output without the app, clipboard and history with it) with a
#                               selection dragged with the pointer, and --text up to its selection
# Exits 77 (skipped) with the reason when this machine cannot run that desktop.
set -euo pipefail
app=$(realpath "$1")
check=$2
# Two outputs side by side; the first is the main display.
width=1280
height=800
second_width=1024
second_height=600

skip() {
  echo "SKIPPED: $*"
  exit 77
}

fail() {
  echo "FAILED: $*"
  for log in "$base"/*.log; do
    echo "--- $(basename "$log")"
    tail -n 20 "$log"
  done
  exit 1
}

for program in sway swaymsg grim pipewire dbus-daemon gdbus /usr/libexec/xdg-desktop-portal \
  /usr/libexec/xdg-desktop-portal-wlr /usr/libexec/xdg-desktop-portal-gtk wl-paste jq; do
  command -v "$program" >/dev/null || skip "$program is not installed (scripts/setup installs it)"
done

# sway refuses to run as root: then the desktop and the app run as nobody.
if [[ $(id -u) -eq 0 ]]; then
  base=$(mktemp -d)
  trap 'rm -rf "$base"' EXIT
  chown nobody:nogroup "$base"
  status=0
  setpriv --reuid=nobody --regid=nogroup --clear-groups env -i PATH="$PATH" TAVIMO_PORTAL_TEST_BASE="$base" \
    "$0" "$app" "$check" || status=$?
  exit "$status"
fi
if [[ -n ${TAVIMO_PORTAL_TEST_BASE:-} ]]; then
  base=$TAVIMO_PORTAL_TEST_BASE
else
  base=$(mktemp -d)
  trap 'rm -rf "$base"' EXIT
fi
[[ -x $app ]] || skip "this user cannot run $app (the build tree must be readable by others)"

children=()
stop_children() {
  for ((index = ${#children[@]} - 1; index >= 0; index--)); do
    kill "${children[index]}" 2>/dev/null || true
  done
  wait 2>/dev/null || true
}
trap 'stop_children; [[ -z ${TAVIMO_PORTAL_TEST_BASE:-} ]] && rm -rf "$base"' EXIT

export HOME=$base/home XDG_RUNTIME_DIR=$base/runtime XDG_CONFIG_HOME=$base/config XDG_DATA_HOME=$base/data \
  XDG_CACHE_HOME=$base/cache XDG_CURRENT_DESKTOP=sway XDG_SESSION_TYPE=wayland QT_QPA_PLATFORM=wayland
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
mkdir -m 0700 "$XDG_RUNTIME_DIR"

wait_for() {
  local what=$1
  shift
  for _ in $(seq 100); do
    if "$@" >/dev/null 2>&1; then
      return 0
    fi
    sleep 0.1
  done
  fail "$what did not come up"
}

has_bus_name() {
  gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.NameHasOwner "$1" | grep -q true
}

start_desktop() {
  printf 'output HEADLESS-1 resolution %dx%d position 0 0\noutput HEADLESS-2 resolution %dx%d position %d 0\n' \
    "$width" "$height" "$second_width" "$second_height" "$width" >"$base/sway.config"
  echo 'default_border none' >>"$base/sway.config"
  WLR_BACKENDS=$backend WLR_HEADLESS_OUTPUTS=2 WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman sway -c "$base/sway.config" \
    >"$base/sway.log" 2>&1 &
  children+=($!)
  for _ in $(seq 100); do
    SWAYSOCK=$(compgen -G "$XDG_RUNTIME_DIR/sway-ipc.*.sock" | head -n 1) && break
    kill -0 "${children[-1]}" 2>/dev/null || skip "sway cannot start here: $(tail -n 3 "$base/sway.log")"
    sleep 0.1
  done
  [[ -S $SWAYSOCK ]] || skip "sway did not open its socket: $(tail -n 3 "$base/sway.log")"
  export SWAYSOCK
  wait_for "sway's outputs" swaymsg -t get_outputs
  WAYLAND_DISPLAY=$(basename "$(compgen -G "$XDG_RUNTIME_DIR/wayland-*[0-9]" | head -n 1)")
  export WAYLAND_DISPLAY

  local address
  address=$(dbus-daemon --session --fork --print-address=1 --print-pid=1 | {
    read -r address
    read -r pid
    echo "$address $pid"
  })
  export DBUS_SESSION_BUS_ADDRESS=${address% *}
  children+=("${address##* }")

  pipewire >"$base/pipewire.log" 2>&1 &
  children+=($!)
  wait_for pipewire test -S "$XDG_RUNTIME_DIR/pipewire-0"
  /usr/libexec/xdg-desktop-portal-wlr -l DEBUG >"$base/portal-wlr.log" 2>&1 &
  children+=($!)
  wait_for xdg-desktop-portal-wlr has_bus_name org.freedesktop.impl.portal.desktop.wlr
  /usr/libexec/xdg-desktop-portal -v -r >"$base/portal.log" 2>&1 &
  children+=($!)
  wait_for xdg-desktop-portal has_bus_name org.freedesktop.portal.Desktop
}

png_size() {
  [[ $(head -c 8 "$1" | od -An -tx1 | tr -d ' \n') == 89504e470d0a1a0a ]] || return 1
  local ihdr
  ihdr=$(od -An -tu1 -j16 -N8 "$1" | tr -s ' \n' ' ')
  read -r w1 w2 w3 w4 h1 h2 h3 h4 <<<"$ihdr"
  echo "$(((w1 << 24) | (w2 << 16) | (w3 << 8) | w4))x$(((h1 << 24) | (h2 << 16) | (h3 << 8) | h4))"
}

expect_png() {
  local file=$1 size=$2 got
  [[ -s $file ]] || fail "no PNG at $file"
  got=$(png_size "$file") || fail "$file is no PNG"
  [[ $got == "$size" ]] || fail "$file is $got, expected $size"
}

start_app() {
  "$app" >"$base/app.log" 2>&1 &
  children+=($!)
  wait_for "the app's instance socket" test -S "$XDG_RUNTIME_DIR/tavimo-capture/instance"
}

# Runs the app with ARGS and --output $base/NAME.png, and checks the PNG's size.
expect_output() {
  local name=$1 size=$2 status=0
  shift 2
  "$app" "$@" --output "$base/$name.png" 2>"$base/$name.log" || status=$?
  [[ $status -eq 0 ]] || fail "$* --output ($name) ended with $status: $(cat "$base/$name.log")"
  expect_png "$base/$name.png" "$size"
}

check_screen() {
  expect_output cold "${width}x$height" --screen
  expect_output cold-all "$((width + second_width))x$height" --all-displays
  start_app
  expect_output warm "${width}x$height" --screen
  expect_output warm-all "$((width + second_width))x$height" --all-displays
  echo "--screen and --all-displays give the main display and both displays, with and without the app"
}

# Drags from (x1, y1) to (x2, y2) with the pointer of the X server sway runs
# on: sway's own "seat cursor" commands move no drag along.
drag() {
  xdotool mousemove "$1" "$2" sleep 0.2 mousedown 1 sleep 0.2 mousemove $((($1 + $3) / 2)) $((($2 + $4) / 2)) \
    sleep 0.2 mousemove "$3" "$4" sleep 0.2 mouseup 1
}

# Whether process $1 shows a full-screen window: our selection over the desktop's picture.
fullscreen() {
  swaymsg -r -t get_tree | jq -e --argjson pid "$1" \
    '[.. | objects | select(.pid? == $pid and .fullscreen_mode == 1 and .visible)] | length > 0' >/dev/null
}

wait_for_selection() {
  local pid=$1 what=$2
  for _ in $(seq 100); do
    fullscreen "$pid" && return 0
    kill -0 "$pid" 2>/dev/null || fail "$what ended before showing a selection"
    sleep 0.1
  done
  fail "$what showed no full-screen selection within 10 s"
}

# Without the app, --area --output shows the selection itself and writes the dragged area.
check_area_cold() {
  local pid status=0
  "$app" --area --output "$base/cold-area.png" 2>"$base/cold-area.log" &
  pid=$!
  children+=("$pid")
  wait_for_selection "$pid" "--area --output without the app"
  drag 100 120 500 420
  wait "$pid" || status=$?
  [[ $status -eq 0 ]] || fail "--area --output without the app ended with $status: $(cat "$base/cold-area.log")"
  expect_png "$base/cold-area.png" 400x300
  echo "--area --output without the app writes the dragged 400x300"
}

# With the app running, as a desktop shortcut would: the dragged area goes to
# the clipboard and the history; --text reaches the selection too.
check_area() {
  start_app
  local app_pid=${children[-1]} status=0 newest
  "$app" --area 2>"$base/area.log" || status=$?
  [[ $status -eq 0 ]] || fail "--area ended with $status: $(cat "$base/area.log")"
  wait_for_selection "$app_pid" "the app's --area"
  drag 100 120 500 420
  for _ in $(seq 50); do
    newest=$(compgen -G "$XDG_DATA_HOME/TavimoCapture/History/*.png" | head -n 1) && break
    sleep 0.1
  done
  [[ -n $newest ]] || fail "the dragged area is not in the history"
  expect_png "$newest" 400x300
  wl-paste --type image/png >"$base/clipboard.png" || fail "nothing on the clipboard"
  expect_png "$base/clipboard.png" 400x300
  echo "--area gives the dragged 400x300 on the clipboard and in the history"

  "$app" --text 2>"$base/text.log" || status=$?
  [[ $status -eq 0 ]] || fail "--text ended with $status: $(cat "$base/text.log")"
  wait_for_selection "$app_pid" "the app's --text"
  xdotool key Escape
  for _ in $(seq 50); do
    fullscreen "$app_pid" || break
    sleep 0.1
  done
  ! fullscreen "$app_pid" || fail "Escape did not close the --text selection"
  echo "--text shows the selection over the desktop's picture, and Escape closes it"
}

# sway's headless seat has no pointer: where the check drags, sway runs in a
# window of a private X server instead, whose pointer xdotool moves.
start_x_server() {
  for program in Xvfb xdotool; do
    command -v "$program" >/dev/null || skip "$program is not installed (scripts/setup installs it)"
  done
  exec {display_pipe}<> <(:)
  Xvfb -displayfd "$display_pipe" -screen 0 "${width}x${height}x24" -nolisten tcp >"$base/xvfb.log" 2>&1 &
  children+=($!)
  read -r -t 10 -u "$display_pipe" display || skip "Xvfb did not start: $(tail -n 3 "$base/xvfb.log")"
  export DISPLAY=:$display
}

case $check in
  screen)
    backend=headless
    start_desktop
    check_screen
    ;;
  area)
    start_x_server
    backend=x11
    start_desktop
    check_area_cold
    check_area
    ;;
  *) fail "unknown check $check" ;;
esac
