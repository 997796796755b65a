#!/usr/bin/env bash
# Project files through the real program and its GTK dialogs:
#   project_end_to_end.sh PROGRAM DATA_DIR X11_TOOL ARTIFACTS_DIR
# 1. a project named on the command line opens: its name in the title, its
#    values in the fields and the report, its folder remembered; closed
#    unchanged, the program exits at once;
# 2. a project with an unknown chain size shows the warning box first, then
#    opens with its other values;
# 3. Ctrl+S on a new project opens the GTK save dialog; the typed name gets
#    ".zdr" and the file is written; closing with changes asks, Escape keeps
#    the window, Yes saves and quits;
# 4. Ctrl+O shows the GTK open dialog; the typed path opens;
# 5. a project whose file name is not UTF-8 shows it in the title with the
#    bad byte replaced, not an empty title.
# It runs on a display of its own (see run_on_own_display in
# end_to_end_common.sh, which also gives fail, find_window, wait_for_title,
# wait_for_exit, stop_program, copy_at, type_z1 and the title's $suffix).
set -uo pipefail
source "$(dirname "$0")/end_to_end_common.sh"

program=$1
data=$2
x11_tool=$3
artifacts=$4

run_on_own_display "$@"
begin_test "$(basename "$program")" "$artifacts"
# GSETTINGS_BACKEND: the file chooser keeps its settings in memory instead
# of looking for a session bus that is not there.
export HOME=$work/home GSETTINGS_BACKEND=memory
mkdir -p "$HOME" "$work/projects" "$work/saved"

# --- 1: a project from the command line -----------------------------------------
cp "$data/nondefault.zdr" "$work/projects/nondefault.zdr"
"$program" "$work/projects/nondefault.zdr" > "$artifacts/$name-project-1.log" 2>&1 &
pid=$!
window=$(find_window "Zandrel - nondefault.zdr$suffix")
[ -n "$window" ] || fail "no window titled after the project; titles: $(xdotool search --name . getwindowname %@ 2> /dev/null)"
sleep 1
import -window "$window" "$artifacts/$name-project-opened.png"
z1=$(copy_at "$window" $z1_x $z1_y)
[ "$z1" = 21 ] || fail "Teeth Z1 shows '$z1', not the project's 21"
eval "$(xdotool getwindowgeometry --shell "$window")"
report=$(copy_at "$window" 150 $((HEIGHT - 40)))
grep -q "12B" <<< "$report" || fail "the report does not speak of the project's 12B chain: $report"
grep -q "^projectmap = $work/projects/\$" "$HOME/.Zandrel/Zandrel.prefs" || fail "project folder not remembered"
"$x11_tool" close "$window" || fail "could not ask the window to close"
wait_for_exit || fail "an opened, unchanged project did not close at once"

# --- 2: the warning of an unknown chain size ------------------------------------
cp "$data/unknown_size.zdr" "$work/projects/unknown_size.zdr"
"$program" "$work/projects/unknown_size.zdr" > "$artifacts/$name-project-2.log" 2>&1 &
pid=$!
box=$(find_window "Zandrel")
[ -n "$box" ] || fail "no warning box titled 'Zandrel'"
import -window "$box" "$artifacts/$name-warning.png"
xdotool windowfocus --sync "$box"
xdotool key Return
window=$(find_window "Zandrel - unknown_size.zdr$suffix")
[ -n "$window" ] || fail "the project did not open after its warning"
z1=$(copy_at "$window" $z1_x $z1_y)
[ "$z1" = 19 ] || fail "Teeth Z1 shows '$z1', not the project's 19"
stop_program

# --- 3: save through the GTK dialog, then the question at closing ----------------
"$program" > "$artifacts/$name-project-3.log" 2>&1 &
pid=$!
window=$(find_window "Zandrel - new project$suffix")
[ -n "$window" ] || fail "no window of a new project"
type_z1 "$window" 23
wait_for_title "$window" "Zandrel - new project *$suffix" || fail "no ' *' after an edit"
xdotool key ctrl+s
dialog=$(find_window "Save project")
[ -n "$dialog" ] || fail "Ctrl+S showed no dialog titled 'Save project'"
sleep 0.5
import -window "$dialog" "$artifacts/$name-save-dialog.png"
xdotool windowfocus --sync "$dialog"
xdotool key ctrl+a
xdotool type --delay 20 "$work/saved/drive"
xdotool key Return
wait_for_title "$window" "Zandrel - drive.zdr$suffix" ||
    fail "title after saving is '$(xdotool getwindowname "$window")'"
grep -q "^z1 = 23$" "$work/saved/drive.zdr" || fail "drive.zdr does not hold z1 = 23"
grep -q "^projectmap = $work/saved/\$" "$HOME/.Zandrel/Zandrel.prefs" || fail "save folder not remembered"

type_z1 "$window" 24
wait_for_title "$window" "Zandrel - drive.zdr *$suffix" || fail "no ' *' after the second edit"
"$x11_tool" close "$window"
box=$(find_window "Zandrel")
[ -n "$box" ] || fail "closing with changes asked nothing"
import -window "$box" "$artifacts/$name-question.png"
xdotool windowfocus --sync "$box"
xdotool key Escape
sleep 1
kill -0 "$pid" 2> /dev/null || fail "Escape in the question closed the program"
[ "$(xdotool getwindowname "$window")" = "Zandrel - drive.zdr *$suffix" ] || fail "Escape changed the title"
grep -q "^z1 = 23$" "$work/saved/drive.zdr" || fail "Escape saved the file"

"$x11_tool" close "$window"
box=$(find_window "Zandrel")
[ -n "$box" ] || fail "the second close asked nothing"
xdotool windowfocus --sync "$box"
xdotool key alt+y
wait_for_exit || fail "Yes did not save and quit"
grep -q "^z1 = 24$" "$work/saved/drive.zdr" || fail "Yes did not save z1 = 24"

# --- 4: open through the GTK dialog ---------------------------------------------
"$program" > "$artifacts/$name-project-4.log" 2>&1 &
pid=$!
window=$(find_window "Zandrel - new project$suffix")
[ -n "$window" ] || fail "no window of a new project"
xdotool windowfocus --sync "$window"
xdotool key ctrl+o
dialog=$(find_window "Open project")
[ -n "$dialog" ] || fail "Ctrl+O showed no dialog titled 'Open project'"
sleep 0.5
xdotool windowfocus --sync "$dialog"
# A leading '/' opens the dialog's location field.
xdotool type --delay 20 "$work/projects/nondefault.zdr"
sleep 0.3
xdotool key Return
wait_for_title "$window" "Zandrel - nondefault.zdr$suffix" ||
    fail "title after opening is '$(xdotool getwindowname "$window")'"
z1=$(copy_at "$window" $z1_x $z1_y)
[ "$z1" = 21 ] || fail "Teeth Z1 shows '$z1' after opening"
"$x11_tool" close "$window"
wait_for_exit || fail "an opened, unchanged project did not close at once"

# --- 5: a file name that is not UTF-8 --------------------------------------------
latin1=$(printf 'caf\351.zdr')  # "café" in Latin-1: the byte E9 alone
cp "$data/nondefault.zdr" "$work/projects/$latin1"
"$program" "$work/projects/$latin1" > "$artifacts/$name-project-5.log" 2>&1 &
pid=$!
cleaned=$(printf 'caf\357\277\275.zdr')  # the byte replaced by U+FFFD
window=$(find_window "Zandrel - $cleaned$suffix")
[ -n "$window" ] || fail "no window titled with the cleaned name; titles: $(xdotool search --name . getwindowname %@ 2> /dev/null)"
"$x11_tool" close "$window"
wait_for_exit || fail "the project with a Latin-1 name did not close at once"
echo "ok ($name): command-line project, warning box, GTK save and open dialogs, close question, Latin-1 name"
exit 0
