#!/usr/bin/env bash
# Starts the real program on a virtual X display, types "1+2" and Enter into the worksheet,
# copies the worksheet through the clipboard and checks its text and the window title.
# Then defines a function, checks the graph window's title and saves screenshots of it, alone
# and beside the main window.
# Usage: run_app_e2e.sh path/to/quillet [folder for the screenshot]
# Exit status 77 (skipped) when xvfb-run, xdotool or xclip is not installed.
set -uo pipefail
app=$1
shots=${2:-}

for tool in xvfb-run xdotool xclip; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done

# Run the checks again inside a fresh virtual display.
if [[ -z "${QUILLET_E2E_DISPLAY_READY:-}" ]]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" \
        env QUILLET_E2E_DISPLAY_READY=1 "$0" "$@"
fi

work=$(mktemp -d)
pid=""
cleanup() {
    if [[ -n "$pid" ]]; then
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    [[ -s "$work/app.log" ]] && sed 's/^/  quillet: /' "$work/app.log"
    exit 1
}

# Copies the whole worksheet through the clipboard and checks it is the given text.
expect_worksheet() {
    local expected actual=""
    expected=$(printf '%s' "$1" | od -An -tx1)
    xdotool key --delay 40 ctrl+a ctrl+c
    for _ in $(seq 50); do
        xclip -o -selection clipboard >"$work/clipboard" 2>/dev/null
        actual=$(od -An -tx1 <"$work/clipboard")
        [[ "$actual" == "$expected" ]] && break
        sleep 0.1
    done
    [[ "$actual" == "$expected" ]] || fail "$2: the worksheet is '$(cat "$work/clipboard")'"
    xdotool key --delay 40 ctrl+End
}

# Prints the id of the first visible window whose name matches the pattern, waiting up to
# 10 seconds while the program runs; prints nothing when none appears.
wait_for_window() {
    local id=""
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
        [[ -n "$id" ]] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    echo "$id"
}

cd "$work" || exit 1
QT_QPA_PLATFORM=xcb "$app" >"$work/app.log" 2>&1 &
pid=$!

# The main window, found by its exact title.
window=$(wait_for_window '^Quillet$')
[[ -n "$window" ]] || fail "no window named Quillet appeared"

title=$(xdotool getwindowname "$window")
[[ "$title" == "Quillet" ]] || fail "window title is '$title'"

# There is no window manager: give the window the keyboard focus directly.
xdotool windowfocus --sync "$window" || fail "cannot focus the window"
sleep 0.3
xdotool type --delay 40 '1+2'
xdotool key --delay 40 Return
expect_worksheet $'1+2\n3\n' "after 1+2 and Enter"

# The button "变量列表" shows the variable list without taking the keyboard: typing goes on in
# the worksheet. The button sits at 199, 53 (37 x 14) of the 237 x 160 dialog-unit layout.
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove --window "$window" $((WIDTH * 2175 / 2370)) $((HEIGHT * 60 / 160)) click 1
[[ -n "$(wait_for_window '^变量列表$')" ]] || fail "the variable list did not appear"
sleep 0.3
xdotool type --delay 40 '2*3'
xdotool key --delay 40 Return
expect_worksheet $'1+2\n3\n2*3\n6\n' "after the list button"

# A function definition brings up the graph window, titled with the function and its integral.
xdotool type --delay 40 'fx0 -1,1,x*x'
xdotool key --delay 40 Return
graph=$(wait_for_window '^y = x\*x')
[[ -n "$graph" ]] || fail "no graph window appeared after fx0"
graph_title=$(xdotool getwindowname "$graph")
[[ "$graph_title" == "y = x*x     F(x)的定积分 = 0.66"* ]] || fail "graph window title is '$graph_title'"

if [[ -n "$shots" ]] && command -v import >/dev/null 2>&1; then
    mkdir -p "$shots"
    sleep 0.3
    import -window "$graph" "$shots/graph_window.png" && echo "screenshot: $shots/graph_window.png"
    # The main window with the graph beside it, as the software centre shows the program.
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool windowsize --sync "$graph" $((HEIGHT * 16 / 10)) "$HEIGHT"
    xdotool windowmove --sync "$graph" "$WIDTH" 0
    sleep 0.3
    import -window root -crop "$((WIDTH + HEIGHT * 16 / 10))x$HEIGHT+0+0" +repage \
        "$shots/main_window.png" && echo "screenshot: $shots/main_window.png"
fi

echo "application end to end: passed"
