#!/usr/bin/env bash
# F1 and the About window of the real program on an X display:
#   help_end_to_end.sh PROGRAM LANG GUIDE_SOURCE DATA_DIR X11_TOOL GADGET_CENTRE ARTIFACTS_DIR
# 1. F1 writes the guide and starts xdg-open (a stand-in on PATH that records
#    how it was called) with one plain argument: the path of a file holding
#    exactly the guide's bytes, named for the language, in a folder of its
#    own (0700) inside the temporary folder; F1 again gives the same path.
# 2. With Rotate ticked, the Help button's "About" item opens the About
#    window, 600 x 300, centred over the main window; while it is open the
#    drawing stands still; Escape closes it; the drive did not turn while it
#    was open and does not catch up afterwards, and it turns on again.
# 3. An opener that ended with 0 said nothing; one that exits 3 gives a
#    message titled after the guide; one that stays (a browser in front of
#    it) gives none, the window answers meanwhile, and the program closes
#    without waiting for it.
# The rotation is read back from the project file, which Ctrl+S writes.
# It runs on a display of its own (see run_on_own_display in
# end_to_end_common.sh, which also gives fail, title_pattern, find_window,
# wait_until_exited and the title's $suffix).
set -uo pipefail
source "$(dirname "$0")/end_to_end_common.sh"

program=$1
lang=$2
guide_source=$3
data=$4
x11_tool=$5
gadget_centre=$6
artifacts=$7

run_on_own_display "$@"

if [ "$lang" = nl ]; then
    guide_name=zandrel_handleiding.html
    guide_title=Handleiding
    about_title=Over
else
    guide_name=zandrel_user_guide.html
    guide_title="User guide"
    about_title=About
fi

begin_test "$(basename "$program")" "$artifacts"
export HOME=$work/home TMPDIR=$work/tmp GSETTINGS_BACKEND=memory
export PATH="$work/bin:$PATH"
mkdir -p "$HOME" "$TMPDIR" "$work/bin" "$work/projects"
# Numbers below are read and compared with '.' as the decimal point.
export LC_NUMERIC=C

# The browser opener: its argument count, then each argument on a line.
record=$work/xdg-open.record
cat > "$work/bin/xdg-open" << EOF
#!/bin/sh
printf '%s\n' "\$#" "\$@" >> '$record'
EOF
chmod 700 "$work/bin/xdg-open"

wait_for_lines() {
    local lines=$1
    for _ in $(seq 1 100); do
        [ -f "$record" ] && [ "$(wc -l < "$record")" -ge "$lines" ] && return 0
        sleep 0.1
    done
    return 1
}
now() {
    date +%s.%N
}

# --- 1: F1 -------------------------------------------------------------------------
cp "$data/default.zdr" "$work/projects/drive.zdr"
"$program" "$work/projects/drive.zdr" > "$artifacts/$name-help.log" 2>&1 &
pid=$!
window=$(find_window "Zandrel - drive.zdr$suffix")
[ -n "$window" ] || fail "no window titled after the project"
xdotool windowfocus --sync "$window"
xdotool key F1
wait_for_lines 2 || fail "F1 did not start xdg-open"
[ "$(sed -n 1p "$record")" = 1 ] || fail "xdg-open got $(sed -n 1p "$record") arguments"
guide=$(sed -n 2p "$record")
folder=$(dirname "$guide")
[ "$(basename "$guide")" = "$guide_name" ] || fail "the guide is called '$(basename "$guide")'"
[ "$(dirname "$folder")" = "$TMPDIR" ] || fail "the guide is not in a folder of its own in the temporary folder: $guide"
[ -f "$guide" ] && [ ! -L "$guide" ] || fail "'$guide' is not a file"
cmp -s "$guide" "$guide_source" || fail "'$guide' does not hold the guide's bytes"
[ "$(stat -c %a "$folder")" = 700 ] || fail "the guide's folder has mode $(stat -c %a "$folder")"

rm -f "$guide"
xdotool key F1
wait_for_lines 4 || fail "the second F1 did not start xdg-open"
[ "$(sed -n 4p "$record")" = "$guide" ] || fail "the second F1 opened '$(sed -n 4p "$record")', not '$guide'"
cmp -s "$guide" "$guide_source" || fail "the second F1 did not write the guide again"

# --- 2: the About window while the drive turns --------------------------------------
project=$work/projects/drive.zdr
saved_at=
rotation=
# Ctrl+S writes the project; sets the rotation it saved (radians) and when:
# the file's time, not the key's, which a loaded machine handles later.
save_rotation() {
    local before
    before=$(stat -c %y "$project")
    xdotool windowfocus --sync "$window"
    xdotool key ctrl+s
    for _ in $(seq 1 100); do
        [ "$(stat -c %y "$project")" != "$before" ] && break
        sleep 0.05
    done
    [ "$(stat -c %y "$project")" != "$before" ] || return 1
    saved_at=$(stat -c %.9Y "$project")
    rotation=$(sed -n 's/^draaistand = //p' "$project")
}
degrees_between() {
    awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", (b - a) * 180 / 3.141592653589793 }'
}

# Where Rotate and the Help button sit, from the English window: the Dutch
# one has the same rows and a panel only a little wider, so the centre of its
# Help button lies within the Dutch one too.
read -r rotate_x rotate_y <<< "$("$gadget_centre" 25)"
read -r help_x help_y <<< "$("$gadget_centre" 4)"
[ -n "$rotate_y" ] && [ -n "$help_y" ] || fail "no positions of the controls"
xdotool windowfocus --sync "$window"
xdotool mousemove --window "$window" "$rotate_x" "$rotate_y" click 1
sleep 1
save_rotation || fail "Ctrl+S did not save the project"
r1=$rotation
t1=$saved_at
sleep 2
save_rotation || fail "Ctrl+S did not save the project"
r2=$rotation
t2=$saved_at
free=$(degrees_between "$r1" "$r2")
rate=$(awk -v d="$free" -v a="$t1" -v b="$t2" 'BEGIN { printf "%.3f", d / (b - a) }')
awk -v r="$rate" 'BEGIN { exit !(r > 1) }' || fail "the drive does not turn with Rotate ticked ($free degrees in 2 s)"

about_pattern=$(title_pattern "$about_title")
# The Help button is the last of the top row; its menu's second item is About.
# Sets $about to the About window.
open_about() {
    local menu id attempt
    # On a busy machine a menu may take the click before it is ready for it
    # and stay open: it is closed and opened again.
    for attempt in 1 2 3; do
        menu=
        xdotool windowfocus --sync "$window"
        xdotool mousemove --window "$window" "$help_x" "$help_y" click 1
        for _ in $(seq 1 50); do
            # The pop-up menu is a window of its own, named after the program.
            for id in $(xdotool search --onlyvisible --name "^$name\$" 2> /dev/null); do
                [ "$id" = "$window" ] && continue
                eval "$(xdotool getwindowgeometry --shell "$id")"
                [ "$WIDTH" -gt 50 ] && [ "$HEIGHT" -gt 20 ] && menu=$id
            done
            [ -n "$menu" ] && break
            sleep 0.1
        done
        [ -n "$menu" ] || fail "the Help button showed no menu"
        sleep 0.3
        eval "$(xdotool getwindowgeometry --shell "$menu")"
        xdotool mousemove $((X + WIDTH / 3)) $((Y + HEIGHT * 3 / 4)) click 1
        about=$(timeout 10 xdotool search --sync --onlyvisible --name "$about_pattern" 2> /dev/null | head -n 1)
        [ -n "$about" ] && return 0
        xdotool key Escape
        sleep 0.5
    done
    fail "no window titled '$about_title'"
}
about_is_open() {
    xdotool search --onlyvisible --name "$about_pattern" > /dev/null 2>&1
}
# Waits up to five seconds for the check "$@" to fail: its window has gone.
wait_until_gone() {
    for _ in $(seq 1 50); do
        "$@" || return 0
        sleep 0.1
    done
    return 1
}

open_about
opened_at=$(now)
eval "$(xdotool getwindowgeometry --shell "$about")"
ax=$X ay=$Y aw=$WIDTH ah=$HEIGHT
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$aw" = 600 ] && [ "$ah" = 300 ] || fail "the About window is ${aw} x ${ah}"
dx=$((ax + aw / 2 - X - WIDTH / 2))
dy=$((ay + ah / 2 - Y - HEIGHT / 2))
[ "${dx#-}" -le 2 ] && [ "${dy#-}" -le 2 ] || fail "the About window is off the main window's centre by $dx, $dy"

# The drawing stands still while the About window is open: the right half of
# the main window is all canvas (the panel's scroll bar fades on its own time).
sleep 0.5
import -window root "$work/during-1.png"
sleep 2.5
import -window root "$work/during-2.png"
cp "$work/during-2.png" "$artifacts/$name-about.png"
half="$((WIDTH / 2))x${HEIGHT}+$((X + WIDTH / 2))+${Y}"
changed=$(compare -metric AE "$work/during-1.png[$half]" "$work/during-2.png[$half]" null: 2>&1)
[ "$changed" = 0 ] || fail "the drawing changed while the About window was open ($changed pixels)"
# A click on Rotate in the main window meanwhile is lost: the drive turns on
# afterwards (checked below).
xdotool mousemove --window "$window" "$rotate_x" "$rotate_y" click 1
sleep 0.3

xdotool windowfocus --sync "$about"
xdotool key Escape
closed_at=$(now)
wait_until_gone about_is_open || fail "Escape did not close the About window"

# A second after it closed, so that whatever it would make up for is in.
sleep 1
save_rotation || fail "Ctrl+S did not save after the About window"
r3=$rotation
t3=$saved_at
turned=$(degrees_between "$r2" "$r3")
sleep 2
save_rotation || fail "Ctrl+S did not save"
after=$(degrees_between "$r3" "$rotation")
awk -v d="$after" 'BEGIN { exit !(d > 1) }' || fail "the drive did not turn on after the About window"
# Outside the About window the drive may turn at the faster of the rates
# measured before it and after it (a loaded machine delivers fewer ticks, and
# its load changes). Over the seconds it was open it may not turn, nor make up
# for them afterwards: the slack, half a second, four ticks and a quarter of
# the time it was open, stays well below what either fault adds.
rate=$(awk -v r="$rate" -v d="$after" -v a="$t3" -v b="$saved_at" 'BEGIN { q = d / (b - a); printf "%.3f", (q > r ? q : r) }')
open_for=$(awk -v a="$opened_at" -v b="$closed_at" 'BEGIN { printf "%.3f", b - a }')
allowed=$(awk -v r="$rate" -v a="$t2" -v b="$t3" -v o="$open_for" 'BEGIN { printf "%.3f", r * (b - a - o * 0.75 + 0.5) + 1.6 }')
echo "free rate $rate deg/s; About open $open_for s; turned $turned deg from save to save, allowed $allowed"
awk -v t="$turned" -v m="$allowed" 'BEGIN { exit !(t <= m) }' ||
    fail "the drive turned $turned degrees, more than the $allowed it could outside the About window"

# The other ways out: a click on the picture is not one, Return is; the
# Close button; the window's own close button.
open_about
eval "$(xdotool getwindowgeometry --shell "$about")"
xdotool mousemove $((X + 144)) $((Y + 144)) click 1
sleep 0.5
about_is_open || fail "a click on the picture closed the About window"
xdotool windowfocus --sync "$about"
xdotool key Return
wait_until_gone about_is_open || fail "Return did not close the About window"

open_about
eval "$(xdotool getwindowgeometry --shell "$about")"
xdotool mousemove $((X + 537)) $((Y + 270)) click 1
wait_until_gone about_is_open || fail "the Close button did not close the About window"

open_about
"$x11_tool" close "$about" || fail "could not ask the About window to close"
wait_until_gone about_is_open || fail "the window's close button did not close the About window"

# --- 3: openers that fail, and one that stays ---------------------------------------
guide_pattern=$(title_pattern "$guide_title")
guide_box_shown() {
    xdotool search --onlyvisible --name "$guide_pattern" > /dev/null 2>&1
}
# Part 1's openers ended with 0 long ago.
guide_box_shown && fail "an opener that ended with 0 gave a '$guide_title' message"

printf '#!/bin/sh\nexit 3\n' > "$work/bin/xdg-open"
xdotool windowfocus --sync "$window"
xdotool key F1
box=$(timeout 10 xdotool search --sync --onlyvisible --name "$guide_pattern" 2> /dev/null | head -n 1)
[ -n "$box" ] || fail "an opener that exits 3 gave no '$guide_title' message"
sleep 0.3
xdotool windowfocus --sync "$box"
xdotool key Return
wait_until_gone guide_box_shown || fail "Return did not close the '$guide_title' message"

printf '#!/bin/sh\n: > "%s"\nexec sleep 60\n' "$work/stayed" > "$work/bin/xdg-open"
xdotool windowfocus --sync "$window"
xdotool key F1
sleep 2
[ -e "$work/stayed" ] || fail "F1 did not start the opener that stays"
guide_box_shown && fail "a '$guide_title' message still open, or one while the opener runs"
save_rotation || fail "the window did not answer Ctrl+S while the opener ran"

"$x11_tool" close "$window" || fail "could not ask the main window to close"
wait_until_exited || fail "the main window did not close while the opener ran"
wait "$pid"
status=$?
pid=
[ "$status" = 0 ] || { cat "$artifacts/$name-help.log"; fail "exit status $status"; }
echo "ok ($name): F1 opens the guide's file and names it when the opener fails; About opens centred," \
    "stands the drive still, closes four ways"
exit 0
