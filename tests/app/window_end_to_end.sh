#!/usr/bin/env bash
# The program end to end on an X display:
#   window_end_to_end.sh PROGRAM "NEW PROJECT TEXT" PRINT_DEFAULT_REPORT X11_TOOL GADGET_CENTRE ARTIFACTS_DIR
# 1. it opens its window under the exact title of a new project, 1280 pixels
#    wide, with the report of the default drive in the report field (a
#    screenshot is kept in ARTIFACTS_DIR); closed unchanged, it exits with 0
#    at once, asking nothing;
# 2. grown to 1440 x 930 (what a maximise does) and shrunk back, the window is
#    laid out at once for each size: the canvas reaches to 8 pixels from the
#    right and bottom edges with its status line at its foot, and the report
#    reaches down to the bottom;
# 3. in a window too short for the whole panel, the wheel down and back up over
#    the idler's side list, the idler slider and the label column scrolls the
#    panel there and back and leaves the title without " *"; typing into
#    "Teeth Z1" then puts " *" into it, also with the pointer resting on the
#    drawing (the canvas does not take the keys from the field).
# It runs on a display of its own (see run_on_own_display in
# end_to_end_common.sh, which also gives fail, find_window, wait_for_title,
# copy_at, type_z1 and the title's $suffix).
set -uo pipefail
source "$(dirname "$0")/end_to_end_common.sh"

program=$1
new_project=$2
print_report=$3
x11_tool=$4
gadget_centre=$5
artifacts=$6

run_on_own_display "$@"
begin_test "$(basename "$program")" "$artifacts"
export HOME=$work

title="Zandrel - $new_project$suffix"
changed_title="Zandrel - $new_project *$suffix"

# --- 1 and 2: the window as it opens, grown, shrunk, then closed unchanged ----
"$program" > "$artifacts/$name-1.log" 2>&1 &
pid=$!
window=$(find_window "$title")
[ -n "$window" ] || fail "no window titled '$title'"
[ "$(xdotool getwindowname "$window")" = "$title" ] || fail "title is '$(xdotool getwindowname "$window")'"
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" = 1280 ] || fail "window is $WIDTH pixels wide"
sleep 1
import -window "$window" "$artifacts/$name-window.png" || fail "no screenshot"
"$print_report" > "$work/expected.txt"
[ -s "$work/expected.txt" ] || fail "no expected report"

# check_layout SHOT: the window as it is now fills its size (see 2 above).
check_layout() {
    local shot="$artifacts/$name-$1.png" box
    eval "$(xdotool getwindowgeometry --shell "$window")"
    # A busy machine may take a while to show the new size: up to 10 s.
    for _ in $(seq 1 20); do
        sleep 0.5
        import -window "$window" "$shot" || fail "no screenshot $1"
        # The canvas is the only thing painted in its background colour.
        box=$(convert "$shot" -fill black +opaque "srgb(250,250,252)" -fill white -opaque "srgb(250,250,252)" \
            -format '%@' info: | sed -E 's/([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)/\3 \4 \1 \2/')
        read -r left top w h <<< "$box"
        [ $((left + w)) = $((WIDTH - 8)) ] && [ $((top + h)) = $((HEIGHT - 8)) ] && break
    done
    [ $((left + w)) = $((WIDTH - 8)) ] && [ $((top + h)) = $((HEIGHT - 8)) ] ||
        fail "$1: the canvas ends at $((left + w)), $((top + h)) in a window of $WIDTH x $HEIGHT"
    local status
    status=$(convert "$shot" -crop "400x20+$((left + 10))+$((HEIGHT - 34))" +repage -colorspace Gray \
        -threshold 60% -format '%[fx:round((1-mean)*w*h)]' info:)
    [ "$status" -gt 100 ] || fail "$1: no status line at the foot of the canvas"
    # The whole report, from the field near the bottom of the window.
    copy_at "$window" 150 $((HEIGHT - 40)) > "$work/report.txt" || fail "$1: could not read the clipboard"
    cmp -s "$work/report.txt" "$work/expected.txt" || {
        diff "$work/expected.txt" "$work/report.txt" | head -20
        fail "$1: the report field does not hold the report of the default drive"
    }
}
check_layout opened
xdotool windowsize --sync "$window" 1440 930
check_layout grown
xdotool windowsize --sync "$window" 1280 860
check_layout shrunk

"$x11_tool" close "$window" || fail "could not ask the window to close"
wait_until_exited || fail "still running 10 s after closing an unchanged project"
wait "$pid"
status=$?
[ "$status" = 0 ] || { cat "$artifacts/$name-1.log"; fail "exit status $status"; }

# --- 3: the wheel changes nothing, an edit marks the project changed ----------
"$program" > "$artifacts/$name-2.log" 2>&1 &
pid=$!
window=$(find_window "$title")
[ -n "$window" ] || fail "no window on the second start"
xdotool windowsize --sync "$window" 1280 600
eval "$(xdotool getwindowgeometry --shell "$window")"
# The top of the ticked check boxes (the theme's blue, at the panel's left
# edge) rises as the panel scrolls; wait_top OP waits up to 6 s for it to
# stand OP (an awk comparison) where it stood at first.
ticked_top() {
    import -window "$window" "$work/wheel.png" && convert "$work/wheel.png" -crop "40x$HEIGHT+0+0" +repage -fuzz 12% \
        -fill black +opaque "srgb(53,132,228)" -fill white -opaque "srgb(53,132,228)" -format '%@' info: | sed 's/.*+//'
}
wait_top() {
    for _ in $(seq 1 20); do
        sleep 0.3
        awk -v now="$(ticked_top)" -v top="$first_top" "BEGIN { exit !(now > 0 && now $1 top) }" && return 0
    done
    return 1
}
sleep 1
first_top=$(ticked_top)
# The idler's side list (24), the idler slider (22) and the label column in
# the slider's row, from the English window: the Dutch one has the same rows
# and its slider covers the English one's centre.
read -r slider_x slider_y <<< "$("$gadget_centre" 22)"
for at in "$("$gadget_centre" 24)" "$slider_x $slider_y" "80 $slider_y"; do
    # shellcheck disable=SC2086  # X and Y
    xdotool mousemove --window "$window" $at click --repeat 5 --delay 100 5
    wait_top '<' || fail "the wheel at $at did not scroll the panel down"
    xdotool click --repeat 5 --delay 100 4
    wait_top '==' || fail "the wheel at $at did not scroll the panel back"
    [ "$(xdotool getwindowname "$window")" = "$title" ] || fail "the wheel at $at changed the project"
done
type_z1 "$window" 19 $((WIDTH - 300)) $((HEIGHT / 2))
wait_for_title "$window" "$changed_title" || fail "title after typing is '$(xdotool getwindowname "$window")'"
import -window "$window" "$artifacts/$name-changed.png"
stop_program
echo "ok ($name): window, report, laid out anew when grown and shrunk, clean exit, the wheel only scrolls," \
    "' *' after an edit"
exit 0
