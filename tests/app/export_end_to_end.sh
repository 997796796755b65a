#!/usr/bin/env bash
# The 2D DXF, 2D STEP and 3D STEP exports through the real program, its GTK save dialog
# and its message boxes:
#   export_end_to_end.sh PROGRAM en|nl X11_TOOL PRINT_GADGET_CENTRE MESSAGE_BOX_SPY ARTIFACTS_DIR
# 1. "DXF 2D" opens "Export DXF" proposing zandrel.dxf; a name typed without
#    extension is written with ".dxf"; ezdxf reads and audits the file with no
#    error; the result box (information) counts its entities and gives its
#    size in KB; the folder is remembered;
# 2. the next export opens in that folder: the same name typed again asks
#    before overwriting; No leaves the file alone and shows nothing more, Yes
#    writes it again;
# 3. a name that leads to a device that cannot be written: asked, then the
#    error box with the reason and the path; the remembered folder stays;
# 4. "2D STEP" opens "Export STP" proposing zandrel.stp in the remembered
#    folder; OpenCASCADE reads the file with every curve the box counts as an
#    edge (tests/export/check_step_occt.py);
# 5. "3D STEP" proposes zandrel_3d.stp; OpenCASCADE reads the 533 solids the
#    box counts, every one of them valid;
# 6. the window then closes at once: exporting changed nothing in the project.
# The program runs on a desktop of the other language (the English program on
# a Dutch one, the Dutch program on an English one), and every button of its
# boxes and dialogs, and the file dialog's own places, speak the program's
# language. The boxes' texts and buttons are read through MESSAGE_BOX_SPY,
# preloaded into the program. It runs on a display of its own (see run_on_own_display in
# end_to_end_common.sh, which also gives fail, find_window, wait_for_exit and
# the title's $suffix).
set -uo pipefail
source "$(dirname "$0")/end_to_end_common.sh"

program=$1
lang=$2
x11_tool=$3
gadget_centre=$4
spy=$5
artifacts=$6

run_on_own_display "$@"
begin_test "$(basename "$program")" "$artifacts"
export HOME=$work/home GSETTINGS_BACKEND=memory
mkdir -p "$HOME" "$work/out"
export ZANDREL_MESSAGE_LOG=$work/boxes.log
: > "$ZANDREL_MESSAGE_LOG"

export ZANDREL_GTK_WORD="Other Locations"
if [ "$lang" = nl ]; then
    curves=" curven geschreven naar"
    solids=" volumes geschreven naar"
    overwrite="' bestaat al. Overschrijven?"
    cannot_write="Kan het bestand niet schrijven."
    new_project="nieuw project"
    desktop=C.UTF-8
    save_buttons="_Annuleren Op_slaan"
    question_buttons="_Nee _Ja"
    yes=alt+j
    other_locations="Andere locaties"
else
    curves=" curves written to"
    solids=" solids written to"
    overwrite="' already exists. Overwrite?"
    cannot_write="Cannot write the file."
    new_project="new project"
    desktop=nl_NL.UTF-8
    save_buttons="_Cancel _Save"
    question_buttons="_No _Yes"
    yes=alt+y
    other_locations="Other Locations"
fi

# A search that meets a window being destroyed gives up with an X error: try again.
find_window_retrying() {
    local found=
    for _ in 1 2 3 4 5; do
        found=$(find_window "$1" 2> /dev/null)
        [ -n "$found" ] && break
        sleep 0.2
    done
    printf '%s' "$found"
}
box_count() {
    grep -c '^box ' "$ZANDREL_MESSAGE_LOG"
}
# The kind of the last box on the first line, its text after it.
last_box() {
    awk '/^(button|word) / { next }
         /^box / { kind = $2; text = ""; n = 0; next }
         /^end$/ { last_kind = kind; last_text = text; next }
         { text = (n++ ? text "\n" : "") $0 }
         END { print last_kind; printf "%s", last_text }' "$ZANDREL_MESSAGE_LOG"
}
# Waits for the one new box titled "Zandrel" since `before` boxes.
wait_for_box() {
    local before=$1 shot=$2
    box=$(find_window_retrying "Zandrel")
    [ -n "$box" ] || fail "no box titled 'Zandrel' appeared ($shot)"
    sleep 0.3
    timeout 10 import -window "$box" "$artifacts/$name-$shot.png"
    [ "$(box_count)" -eq $((before + 1)) ] || fail "not one new box ($shot): $(cat "$ZANDREL_MESSAGE_LOG")"
}
expect_last_box() {
    local kind=$1 text=$2 seen
    seen=$(last_box)
    [ "$seen" = "$kind"$'\n'"$text" ] || fail "the box says '$seen', not '$kind: $text'"
}
# expect_buttons "CAPTION ...": the buttons of the last box or dialog.
expect_buttons() {
    local seen
    seen=$(grep '^button ' "$ZANDREL_MESSAGE_LOG" | tail -n "$(wc -w <<< "$1")" | cut -c8- | paste -sd ' ')
    [ "$seen" = "$1" ] || fail "the buttons are '$seen', not '$1'"
}
# Presses "DXF 2D" (or the button at $1 $2 whose dialog is titled $3) and waits
# for the save dialog.
open_export_dialog() {
    local x=${1:-$button_x} y=${2:-$button_y} title=${3:-Export DXF}
    xdotool mousemove --window "$window" "$x" "$y" click 1
    dialog=$(find_window_retrying "$title")
    [ -n "$dialog" ] || fail "no dialog titled '$title' appeared"
    sleep 0.5
    xdotool windowfocus --sync "$dialog"
}
type_name() {
    xdotool key ctrl+a
    xdotool type --delay 20 "$1"
    sleep 0.3
    xdotool key Return
}
# Answers the box and waits until it is gone, so that the next search cannot
# find it again.
answer() {
    xdotool windowfocus --sync "$box"
    xdotool key "$1"
    for _ in $(seq 1 100); do
        xdotool getwindowname "$box" > /dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "the box stayed open after $1"
}

read -r button_x button_y <<< "$("$gadget_centre" 9)"
[ -n "${button_y:-}" ] || fail "could not place the DXF 2D button"
read -r step_x step_y <<< "$("$gadget_centre" 10)"
[ -n "${step_y:-}" ] || fail "could not place the 2D STEP button"
read -r solid_x solid_y <<< "$("$gadget_centre" 13)"
[ -n "${solid_y:-}" ] || fail "could not place the 3D STEP button"
asan=$(ldd "$program" | awk '/libasan/ { print $3 }')
LC_ALL=$desktop LD_PRELOAD="${asan:+$asan }$spy" "$program" > "$artifacts/$name-export.log" 2>&1 &
pid=$!
window=$(find_window_retrying "Zandrel - $new_project$suffix")
[ -n "$window" ] || fail "no window of a new project"
sleep 1

# --- 1: a first export --------------------------------------------------------
open_export_dialog
timeout 10 import -window "$dialog" "$artifacts/$name-export-dialog.png"
xdotool key ctrl+a ctrl+c
sleep 0.3
proposed=$("$x11_tool" selection CLIPBOARD)
[ "$proposed" = zandrel.dxf ] || fail "the dialog proposes '$proposed', not zandrel.dxf"
expect_buttons "$save_buttons"
words=$(grep '^word ' "$ZANDREL_MESSAGE_LOG" | cut -c6- | sort -u)
[ "$words" = "$other_locations" ] || fail "the file dialog's places say '$words', not '$other_locations'"
type_name "$work/out/drive"
path=$work/out/drive.dxf
wait_for_box 0 result
[ -f "$path" ] || fail "no $path after the export; the folder holds: $(ls -A "$work/out")"
# A real reader: ezdxf reads and audits the file; it prints how many entities it found.
count=$(/usr/bin/python3 - "$path" << 'PY'
import sys
import ezdxf
doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
if auditor.errors:
    sys.exit("audit errors: " + "; ".join(str(e.message) for e in auditor.errors[:5]))
print(len(doc.modelspace()))
PY
) || fail "ezdxf: $count"
kb=$(($(stat -c %s "$path") / 1024))
expect_last_box information "$count$curves"$'\n'"$path"$'\n'"($kb KB)"
expect_buttons _OK
[ "$count" -gt 318 ] || fail "only $count entities in the default drive's file"
answer Return
grep -q "^exportmap = $work/out/\$" "$HOME/.Zandrel/Zandrel.prefs" || fail "export folder not remembered"

# --- 2: the same name again, in the remembered folder ------------------------
written=$(stat -c %Y.%s "$path")
sleep 1.1  # so that writing it again would show in the time
before=$(box_count)
open_export_dialog
type_name drive
wait_for_box "$before" question
expect_last_box other "'drive.dxf$overwrite"
expect_buttons "$question_buttons"
answer alt+n
sleep 1.5
[ "$(box_count)" -eq $((before + 1)) ] || fail "No was followed by another box: $(last_box)"
[ "$(stat -c %Y.%s "$path")" = "$written" ] || fail "No changed the file"

before=$(box_count)
open_export_dialog
type_name drive
wait_for_box "$before" question-again
answer "$yes"
wait_for_box $((before + 1)) written-again
expect_last_box information "$count$curves"$'\n'"$path"$'\n'"($kb KB)"
[ "$(stat -c %Y "$path")" != "${written%.*}" ] || fail "Yes did not write the file again"
answer Return

# --- 3: a name that cannot be written ------------------------------------------
ln -s /dev/full "$work/out/full.dxf"
before=$(box_count)
open_export_dialog
type_name "$work/out/full.dxf"
wait_for_box "$before" full-question
expect_last_box other "'full.dxf$overwrite"
answer "$yes"
wait_for_box $((before + 1)) failure
expect_last_box error "$cannot_write"$'\n'"$work/out/full.dxf"
answer Return
[ -c /dev/full ] || fail "/dev/full is no longer a device"
[ "$(ls -A "$work/out" | tr '\n' ' ')" = "drive.dxf full.dxf " ] || fail "left behind: $(ls -A "$work/out")"
grep -q "^exportmap = $work/out/\$" "$HOME/.Zandrel/Zandrel.prefs" || fail "a failed export changed the folder"

# export_step X Y PROPOSED NAME UNIT TYPE: presses the STEP button at X Y, checks
# the proposed name, exports to NAME.stp and has OpenCASCADE read the file,
# which must hold the TYPE count that the result box gives before UNIT; the
# count is left in $exported.
export_step() {
    local before proposed path kb
    before=$(box_count)
    open_export_dialog "$1" "$2" "Export STP"
    xdotool key ctrl+a ctrl+c
    sleep 0.3
    proposed=$("$x11_tool" selection CLIPBOARD)
    [ "$proposed" = "$3" ] || fail "the dialog proposes '$proposed', not $3"
    type_name "$4"
    path=$work/out/$4.stp
    wait_for_box "$before" "$4-result"
    [ -f "$path" ] || fail "no $path after the export; the folder holds: $(ls -A "$work/out")"
    exported=$(last_box | sed -n "2s/$5.*//p")
    kb=$(($(stat -c %s "$path") / 1024))
    expect_last_box information "$exported$5"$'\n'"$path"$'\n'"($kb KB)"
    /usr/bin/python3 "$(dirname "$0")/../export/check_step_occt.py" "$6" "$path" "$exported" \
        > "$artifacts/$name-$4-occt.log" 2>&1 || fail "OpenCASCADE: $(tail -5 "$artifacts/$name-$4-occt.log")"
    answer Return
}

# --- 4: 2D STEP, read by OpenCASCADE ----------------------------------------
export_step "$step_x" "$step_y" zandrel.stp drive "$curves" EDGE
[ "$exported" = "$count" ] || fail "the STEP file has $exported curves, the DXF file $count entities"

# --- 5: 3D STEP, read by OpenCASCADE ----------------------------------------
export_step "$solid_x" "$solid_y" zandrel_3d.stp drive_3d "$solids" SOLID
[ "$exported" = 533 ] || fail "the 3D STEP file has $exported solids, not the drive's 533 parts"

# --- 6: nothing to save -------------------------------------------------------
sleep 0.5
[ "$(xdotool getwindowname "$window")" = "Zandrel - $new_project$suffix" ] || fail "exporting marked the project changed"
"$x11_tool" close "$window" || fail "could not ask the window to close"
wait_for_exit || fail "the window did not close at once after exporting"
echo "ok ($name): DXF 2D through the GTK dialog, audited by ezdxf; overwrite No and Yes; write failure;" \
     "2D STEP and 3D STEP read by OpenCASCADE"
exit 0
