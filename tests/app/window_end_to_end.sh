#!/usr/bin/env bash
# The program end to end on an X display:
#   window_end_to_end.sh PROGRAM "NEW PROJECT TEXT" PRINT_DEFAULT_REPORT X11_TOOL ARTIFACTS_DIR
# 1. it opens its window under the exact title of a new project, 1280 pixels
#    wide, with the report of the default drive in the report field (a
#    screenshot is kept in ARTIFACTS_DIR); closed unchanged, it exits with 0
#    at once, asking nothing;
# 2. typing into "Teeth Z1" puts " *" into the title.
# It runs on a display of its own: ctest runs tests side by side, and a second
# window on the same display could take the clicks and keys meant for this
# one. Without xvfb-run it uses $DISPLAY; without either it is skipped.
set -uo pipefail

program=$1
new_project=$2
print_report=$3
x11_tool=$4
artifacts=$5

if [ -z "${ZANDREL_E2E_OWN_DISPLAY:-}" ] && command -v xvfb-run > /dev/null; then
    export ZANDREL_E2E_OWN_DISPLAY=1
    # Start the search for a free display number at a random place, so that
    # runs started at the same moment do not race for the same number.
    exec xvfb-run -a -n $((200 + RANDOM % 600)) -s "-screen 0 1600x1000x24" bash "$0" "$@"
fi
[ -n "${DISPLAY:-}" ] || exit 77

name=$(basename "$program")
mkdir -p "$artifacts"
work=$(mktemp -d)
trap 'kill "$pid" 2> /dev/null; rm -rf "$work"' EXIT
export HOME=$work GDK_BACKEND=x11 NO_AT_BRIDGE=1
# GTK and its libraries keep caches until the process ends; only leaks of our
# own code should fail the test.
export LSAN_OPTIONS="suppressions=$(dirname "$0")/gtk_leaks.supp:print_suppressions=0"

suffix="   (ISO 606 / DIN 8187 / DIN 8196)"
title="Zandrel - $new_project$suffix"
changed_title="Zandrel - $new_project *$suffix"
fail() {
    echo "FAIL ($name): $*"
    exit 1
}
# xdotool searches by regular expression: the title, with its parentheses escaped.
title_pattern() {
    printf '^%s$' "$(printf '%s' "$1" | sed 's/[][()*.^$\\/+?{}|]/\\&/g')"
}
find_window() {
    timeout 30 xdotool search --sync --onlyvisible --name "$(title_pattern "$1")" | head -n 1
}
wait_for_title() {
    local window=$1 wanted=$2
    for _ in $(seq 1 100); do
        [ "$(xdotool getwindowname "$window" 2> /dev/null)" = "$wanted" ] && return 0
        sleep 0.1
    done
    return 1
}

# --- 1: the window as it opens, then closed unchanged -------------------------
"$program" > "$artifacts/$name-1.log" 2>&1 &
pid=$!
window=$(find_window "$title")
[ -n "$window" ] || fail "no window titled '$title'"
[ "$(xdotool getwindowname "$window")" = "$title" ] || fail "title is '$(xdotool getwindowname "$window")'"
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" = 1280 ] || fail "window is $WIDTH pixels wide"
sleep 1
import -window "$window" "$artifacts/$name-window.png" || fail "no screenshot"

# Select the whole report and copy it: click into the field near the bottom
# of the window, then Ctrl+A and Ctrl+C.
xdotool windowfocus --sync "$window"
xdotool mousemove --window "$window" 150 $((HEIGHT - 40)) click 1
sleep 0.3
xdotool key ctrl+a ctrl+c
sleep 0.3
"$x11_tool" selection CLIPBOARD > "$work/report.txt" || fail "could not read the clipboard"
"$print_report" > "$work/expected.txt"
[ -s "$work/expected.txt" ] || fail "no expected report"
cmp -s "$work/report.txt" "$work/expected.txt" || {
    diff "$work/expected.txt" "$work/report.txt" | head -20
    fail "the report field does not hold the report of the default drive"
}

"$x11_tool" close "$window" || fail "could not ask the window to close"
for _ in $(seq 1 100); do
    kill -0 "$pid" 2> /dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2> /dev/null && fail "still running 10 s after closing an unchanged project"
wait "$pid"
status=$?
[ "$status" = 0 ] || { cat "$artifacts/$name-1.log"; fail "exit status $status"; }

# --- 2: an edit marks the project changed --------------------------------------
"$program" > "$artifacts/$name-2.log" 2>&1 &
pid=$!
window=$(find_window "$title")
[ -n "$window" ] || fail "no window on the second start"
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool windowfocus --sync "$window"
# "Teeth Z1" is the second row of the panel; at any usual font size its field
# covers this point.
xdotool mousemove --window "$window" 260 110 click --repeat 3 1
sleep 0.3
xdotool key ctrl+a
xdotool type --delay 50 "19"
wait_for_title "$window" "$changed_title" || fail "title after typing is '$(xdotool getwindowname "$window")'"
import -window "$window" "$artifacts/$name-changed.png"
kill "$pid"
wait "$pid" 2> /dev/null
echo "ok ($name): window, report, clean exit, ' *' after an edit"
exit 0
