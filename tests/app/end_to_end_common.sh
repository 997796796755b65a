# shellcheck shell=bash
# What the end-to-end scripts of this folder share, sourced by each of them:
#   source "$(dirname "$0")/end_to_end_common.sh"
# The functions work on the scripts' globals: $name (set by begin_test), $work,
# $pid (the program under test, started by the script), $x11_tool.

common_dir=$(dirname "${BASH_SOURCE[0]}")

# What every main window's title ends in.
# shellcheck disable=SC2034  # used by the scripts
suffix="   (ISO 606 / DIN 8187 / DIN 8196)"

# Runs the calling script again on a display of its own: ctest runs tests side
# by side, and a second window on the same display could take the clicks and
# keys meant for this one. Without xvfb-run it uses $DISPLAY; without either
# the test is skipped (77). Call it with the script's arguments.
run_on_own_display() {
    if [ -z "${ZANDREL_E2E_OWN_DISPLAY:-}" ] && command -v xvfb-run > /dev/null; then
        export ZANDREL_E2E_OWN_DISPLAY=1
        # Start the search for a free display number at a random place, so
        # that runs started at the same moment do not race for the same number.
        exec xvfb-run -a -n $((200 + RANDOM % 600)) -s "-screen 0 1600x1000x24" bash "$0" "$@"
    fi
    [ -n "${DISPLAY:-}" ] || exit 77
}

# begin_test NAME ARTIFACTS_DIR
# Sets $name (for messages and artifact files), makes ARTIFACTS_DIR and a
# scratch folder $work, and at exit stops the program ($pid) if it still runs
# and removes $work. GTK gets the X backend and no accessibility bus; HOME and
# the rest are the script's own choice.
begin_test() {
    name=$1
    mkdir -p "$2"
    work=$(mktemp -d)
    pid=
    trap '[ -n "$pid" ] && kill "$pid" 2> /dev/null; rm -rf "$work"' EXIT
    export GDK_BACKEND=x11 NO_AT_BRIDGE=1
    # A desktop session always has a UTF-8 locale; a bare shell (a fresh
    # machine's, or a container's) has none, and the window's title would
    # reach the X server without its characters beyond ASCII.
    [ -n "${LANG:-}${LC_ALL:-}" ] || export LANG=C.UTF-8
    # GTK and its libraries keep caches until the process ends; only leaks of
    # our own code should fail the test.
    export LSAN_OPTIONS="suppressions=$common_dir/gtk_leaks.supp:print_suppressions=0"
}

fail() {
    echo "FAIL ($name): $*"
    exit 1
}

# xdotool searches by regular expression: the title, with its parentheses
# escaped, as a pattern that matches it whole.
title_pattern() {
    printf '^%s$' "$(printf '%s' "$1" | sed 's/[][()*.^$\\/+?{}|]/\\&/g')"
}
# The first visible window whose title matches the pattern; waits up to 30 s.
find_window_matching() {
    timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -n 1
}
# The first visible window titled exactly so; waits up to 30 s.
find_window() {
    find_window_matching "$(title_pattern "$1")"
}
# wait_for_title WINDOW TITLE: up to 10 s.
wait_for_title() {
    local window=$1 wanted=$2
    for _ in $(seq 1 100); do
        [ "$(xdotool getwindowname "$window" 2> /dev/null)" = "$wanted" ] && return 0
        sleep 0.1
    done
    return 1
}

# Waits up to 10 s for the program to end; fails (1) if it still runs.
wait_until_exited() {
    for _ in $(seq 1 100); do
        kill -0 "$pid" 2> /dev/null || break
        sleep 0.1
    done
    ! kill -0 "$pid" 2> /dev/null
}
# Waits up to 10 s for the program to end: its exit status, or 1 if it still
# runs.
wait_for_exit() {
    wait_until_exited || return 1
    wait "$pid"
    local status=$?
    pid=
    return $status
}
# Stops the program and collects it.
stop_program() {
    kill "$pid"
    wait "$pid" 2> /dev/null
    pid=
}

# The text of the control under a point of the window, through the clipboard.
copy_at() {
    local window=$1 x=$2 y=$3
    xdotool windowfocus --sync "$window"
    xdotool mousemove --window "$window" "$x" "$y" click 1
    sleep 0.3
    xdotool key ctrl+a ctrl+c
    sleep 0.3
    # shellcheck disable=SC2154  # each script names its x11_tool
    "$x11_tool" selection CLIPBOARD
}
# "Teeth Z1" is the second row of the panel; at any usual font size its field
# covers this point.
z1_x=260
z1_y=110
# type_z1 WINDOW TEETH [X Y]: replaces the text of "Teeth Z1"; with X and Y
# the pointer leaves the field for that point of the window before the typing.
type_z1() {
    local window=$1 teeth=$2
    xdotool windowfocus --sync "$window"
    xdotool mousemove --window "$window" $z1_x $z1_y click --repeat 3 1
    sleep 0.3
    xdotool key ctrl+a
    if [ $# -ge 4 ]; then
        xdotool mousemove --window "$window" "$3" "$4"
        sleep 0.5
    fi
    xdotool type --delay 50 "$teeth"
}
