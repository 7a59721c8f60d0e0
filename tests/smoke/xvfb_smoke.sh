#!/usr/bin/env bash
# Smoke test of the real greetcard window in an X server (Xvfb): types a name
# into the prompt, waits until the canvas on screen is exactly the card that
# greetcard-render paints for that name, clicks "save on C:\wimgx", checks the
# snapshot file in $HOME/wimgx, keeps a screenshot, then clicks "exit" and
# checks that the program ends.
#
# Usage: xvfb_smoke.sh GREETCARD GREETCARD_RENDER OUTPUT_DIR
# Writes OUTPUT_DIR/window.png. Exits 77 when a needed tool is missing.
set -euo pipefail

program=$1
render=$2
out=$3

name="ana"
# Layout of the window, in pixels from its client area's top left corner.
canvas_left=32
canvas_top=24
canvas_size=700x525
save_x=$((616 + 113 / 2))
save_y=$((600 + 17 / 2))
exit_x=$((696 + 33 / 2))
exit_y=$((624 + 17 / 2))
timeout_s=120

for tool in Xvfb xdotool xwininfo import compare; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: $tool is not installed"
    exit 77
  fi
done

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

# Waits until the command succeeds, up to timeout_s seconds.
wait_for() {
  local deadline=$((SECONDS + timeout_s))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.2
  done
}

mkdir -p "$out"
rm -f "$out/window.png"

# The card the window must show, from the command-line renderer.
(cd "$work" && "$render" "$name" -o "$name.png" >/dev/null)
[ -f "$work/$name.png" ] || fail "greetcard-render wrote no $name.png"

# Xvfb picks a free display itself and reports its number.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
display_known() { [ -s "$work/display" ]; }
wait_for display_known || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -n1 "$work/display")"
echo "X server on $DISPLAY"

home="$work/home"
mkdir -p "$home"
HOME="$home" XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=xcb "$program" >"$work/greetcard.log" 2>&1 &
app_pid=$!

form_window() { xdotool search --onlyvisible --name '^Form1$' 2>/dev/null | head -n1; }
prompt_window() {
  local form
  form=$(form_window)
  xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | grep -v -x "${form:-none}" | head -n1
}
form_open() { [ -n "$(form_window)" ]; }
prompt_open() { [ -n "$(prompt_window)" ]; }
wait_for form_open || fail "the window did not open: $(cat "$work/greetcard.log")"
wait_for prompt_open || fail "the name prompt did not open"
form=$(form_window)
prompt=$(prompt_window)
read -r form_x form_y < <(xwininfo -id "$form" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} END {print x, y}')
read -r prompt_x prompt_y < <(xwininfo -id "$prompt" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} END {print x, y}')
echo "window at $form_x,$form_y; prompt at $prompt_x,$prompt_y"

xdotool mousemove --sync $((prompt_x + 20)) $((prompt_y + 20))
xdotool windowfocus --sync "$prompt"
xdotool type --delay 30 "$name"
xdotool key Return

# The painting is over when the canvas on screen is the rendered card.
canvas_matches() {
  import -silent -window root -crop "${canvas_size}+$((form_x + canvas_left))+$((form_y + canvas_top))" +repage \
    "$work/canvas.png" 2>/dev/null || return 1
  [ "$(compare -metric AE "$work/canvas.png" "$work/$name.png" null: 2>&1)" = "0" ]
}
wait_for canvas_matches || fail "the canvas on screen never became the card of '$name'"
echo "the canvas shows the card of '$name'"

xdotool mousemove --sync $((form_x + save_x)) $((form_y + save_y)) click 1
snapshot_written() { compgen -G "$home/wimgx/T*.bmp" >/dev/null; }
wait_for snapshot_written || fail "no snapshot in $home/wimgx"
sleep 0.5
snapshot=$(compgen -G "$home/wimgx/T*.bmp" | head -n1)
[[ "$(basename "$snapshot")" =~ ^T[0-9]{14}\.bmp$ ]] || fail "unexpected snapshot name $(basename "$snapshot")"
[ "$(compare -metric AE "$snapshot" "$work/$name.png" null: 2>&1)" = "0" ] || fail "the snapshot differs from the card"
echo "snapshot $(basename "$snapshot") holds the card"

import -silent -window root "$out/window.png"
echo "screenshot: $out/window.png"

xdotool mousemove --sync $((form_x + exit_x)) $((form_y + exit_y)) click 1
ended() { ! kill -0 "$app_pid" 2>/dev/null; }
wait_for ended || fail "\"exit\" did not end the program"
status=0
wait "$app_pid" || status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "the program ended with status $status"
echo "\"exit\" ended the program"
echo "smoke test passed"
