#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the real program on a virtual X display and checks from outside what a user sees:
# typing lands in the worksheet after every button (dialogs cancelled with Escape), the
# variable list comes up on top, help opens in the program's own window when the desktop has
# no launcher, the graph window's title, and where the function list window comes back.
# With --openbox the display runs the openbox window manager, and the stacking order, the
# windows' allowed actions and a graph defined under an always-on-top main window are
# checked too. Windows are found by their titles' UTF-8 bytes, so any locale will do.
# Usage: run_app_e2e.sh [--openbox] path/to/quillet [folder for screenshots]
# Exit status 77 (skipped) when a tool is not installed.
set -uo pipefail
wm=""
[[ "${1:-}" == "--openbox" ]] && wm=openbox && shift
app=$(realpath "$1")
shots=${2:-}

for tool in Xvfb xdotool xclip xprop $wm; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
done

# Runs a command until it succeeds, at most $1 times a tenth of a second apart.
retry() {
    for _ in $(seq "$1"); do "${@:2}" && return 0 || sleep 0.1; done
    return 1
}

work=$(mktemp -d)
pid="" wm_pid="" server_pid=""
trap 'kill $pid $wm_pid 2>/dev/null; wait $pid $wm_pid 2>/dev/null; kill $server_pid 2>/dev/null;
      wait 2>/dev/null; rm -rf "$work"' EXIT

# A virtual display of its own: the server takes a free display number and reports it, so
# that runs side by side never race for one. Without -noreset the server starts afresh each
# time its last client leaves, and a client connecting in that moment is refused: the
# window manager or the program right after the check below.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" \
    2>"$work/server.log" &
server_pid=$!
retry 100 test -s "$work/display" || { echo "FAIL: the virtual display did not start"; exit 1; }
export DISPLAY=":$(cat "$work/display")"
retry 50 xprop -root >/dev/null 2>&1 || { cat "$work/server.log"; echo "FAIL: no display"; exit 1; }

fail() {
    echo "FAIL${wm:+ (under $wm)}: $*"
    for log in app server wm; do
        [[ -s "$work/$log.log" ]] && sed "s/^/  $log: /" "$work/$log.log"
    done
    exit 1
}

screenshot() {
    [[ -n "$shots" ]] && command -v import >/dev/null 2>&1 || return 0
    mkdir -p "$shots" && sleep 0.3
    import -window root "$shots/$1${wm:+_$wm}.png" && echo "screenshot: $shots/$1${wm:+_$wm}.png"
}

# The program's visible windows: top-level windows, or the clients in the window manager's
# frames.
program_windows() { xdotool search --onlyvisible --maxdepth 3 --pid "$pid" 2>/dev/null; }

# Prints the id of the program's first visible window whose title is the given text, or
# starts with it when the second argument is "prefix". Titles are compared as the UTF-8 bytes
# xprop prints for _NET_WM_NAME read as 8-bit numbers ("121, 32, 61"), whatever the locale.
find_title() {
    local expected id actual
    expected=$(printf '%s' "$1" | od -An -tu1 | xargs | sed 's/ /, /g')
    for id in $(program_windows); do
        actual=$(xprop -id "$id" -notype -f _NET_WM_NAME 8c _NET_WM_NAME 2>/dev/null |
            sed -n 's/^_NET_WM_NAME = //p')
        [[ "$actual" == "$expected" || ("${2:-}" == prefix && "$actual" == "$expected, "*) ]] &&
            echo "$id" && return
    done
    return 1
}
# The same, waiting up to 10 seconds for the window.
wait_for_title() { retry 100 find_title "$@"; }

# Waits up to 10 seconds until the program shows the given number of windows.
window_count_is() { (($(program_windows | wc -l) == $1)); }
wait_for_window_count() { retry 100 window_count_is "$1"; }

# Without a window manager the keyboard focus is set directly.
focus_window() {
    [[ -n "$wm" ]] && xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"
    sleep 0.1
}

# Clicks a window at a point given as arithmetic on its WIDTH and HEIGHT.
click_in() {
    local WIDTH HEIGHT X Y SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove --window "$1" $(($2)) $(($3)) click 1
    sleep 0.15
}
# Clicks the main window at a point of its 237 x 160 dialog-unit layout.
click_main() { click_in "$main" "WIDTH * $1 / 237" "HEIGHT * $2 / 160"; }

type_line() { xdotool type --delay 20 "$1" && xdotool key --delay 40 Return; }
# Types a line, then fails with the message given unless a window titled so far comes up.
type_line_for_title() { type_line "$1" && wait_for_title "$2" prefix >/dev/null || fail "$3"; }

# Copies the focused text through the clipboard into $work/clipboard.
copy_all() {
    rm -f "$work/clipboard" && xdotool key --delay 40 ctrl+a ctrl+c && sleep 0.2
    xclip -o -selection clipboard >"$work/clipboard" 2>/dev/null
}
# ... and compares it with the given text byte for byte.
copied_is() {
    copy_all && [[ "$(od -An -tx1 <"$work/clipboard")" == "$(printf '%s' "$1" | od -An -tx1)" ]]
}

# Copies the whole worksheet through the clipboard and checks it is the given text.
expect_worksheet() {
    retry 20 copied_is "$1" || fail "$2: the worksheet is '$(cat "$work/clipboard")'"
    xdotool key --delay 40 ctrl+End
}

# Fails unless the first window lies above the second in the window manager's stacking.
expect_above() {
    local order
    order=$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,/ /g')
    [[ " $order " == *" $(printf '0x%x' "$2") "*" $(printf '0x%x' "$1") "* ]] ||
        fail "$3: stacking (bottom to top) is $order"
}

# Fails when the window manager lets the user minimise or maximise the window.
expect_no_minimise_or_maximise() {
    local actions
    actions=$(xprop -id "$1" _NET_WM_ALLOWED_ACTIONS)
    [[ "$actions" == *_NET_WM_ACTION_CLOSE* && "$actions" != *IMIZE* ]] || fail "$2 offers: $actions"
}

# True once the window manager keeps its stacking list on the root window.
wm_managing() { xprop -root _NET_CLIENT_LIST_STACKING 2>/dev/null | grep -q 'window id'; }

[[ -n "$wm" ]] && { "$wm" >"$work/wm.log" 2>&1 & wm_pid=$!; }
[[ -z "$wm" ]] || retry 50 wm_managing || fail "the window manager did not start"

# The desktop has no launcher: the help is shown in the program's own window, although
# help.mht lies in the current folder.
no_launcher_path=$(tr ':' '\n' <<<"$PATH" | while read -r dir; do
    [[ -x "$dir/xdg-open" ]] || printf '%s:' "$dir"
done)
cd "$work" || exit 1
[[ -f "$(dirname "$app")/help.mht" ]] && cp "$(dirname "$app")/help.mht" .
PATH=${no_launcher_path%:} QT_QPA_PLATFORM=xcb "$app" >"$work/app.log" 2>&1 &
pid=$!

main=$(wait_for_title Quillet) || fail "no window named Quillet appeared"
focus_window "$main"
type_line '1+2'
expect_worksheet $'1+2\n3\n' "after 1+2 and Enter"

# "变量列表" (199, 53) shows the list on top; the worksheet keeps the keyboard.
click_main 217 60
list=$(wait_for_title 变量列表) || fail "the variable list did not appear"
if [[ -n "$wm" ]]; then
    expect_above "$list" "$main" "after the list button"
    expect_no_minimise_or_maximise "$list" "the variable list"
fi
screenshot variable_list
type_line '2*3'

# "载入文件" (199, 78), "保存文件" (199, 103) and "另存为" (199, 128) open dialogs; after
# Escape the keyboard is back in the worksheet.
count=$(program_windows | wc -l)
while read -r y line; do
    click_main 217 $((y + 7))
    wait_for_window_count $((count + 1)) || fail "no dialog after the button at $y"
    sleep 0.2
    xdotool key Escape
    wait_for_window_count "$count" || fail "the dialog of the button at $y stayed open"
    sleep 0.2
    type_line "$line"
done <<<$'78 1+3\n103 1+4\n128 1+5'

# "帮  助" (199, 28): the help window shows the help text; typing goes on in the worksheet.
click_main 217 35
help=$(wait_for_title 'Quillet 帮助') || fail "no help window appeared"
type_line '5*5'
expect_worksheet $'1+2\n3\n2*3\n6\n1+3\n4\n1+4\n5\n1+5\n6\n5*5\n25\n' "after the buttons"
screenshot help_window
focus_window "$help"
copy_all
grep -q "$(printf '%s' '工作表的用法')" "$work/clipboard" || fail "the help window shows no help text"
xdotool key Escape
wait_for_window_count "$count" || fail "Escape left the help window open"
focus_window "$main"

# A definition brings up the graph window, titled with the function and its integral.
type_line 'fx0 -1,1,x*x'
graph=$(wait_for_title 'y = x*x     F(x)的定积分 = 0.66' prefix) || fail "no graph window after fx0"

# The function list window, moved by the user, comes back where it was after Esc and "函数".
click_in "$graph" 25 "HEIGHT - 16"
functions=$(wait_for_title '自变量范围:' prefix) || fail "the function list did not appear"
[[ -n "$wm" ]] && expect_no_minimise_or_maximise "$functions" "the function list"
xdotool windowmove --sync "$functions" 520 380 && sleep 0.3
moved=$(xdotool getwindowgeometry "$functions" | grep Position)
focus_window "$graph"
xdotool key Escape
wait_for_window_count "$count" || fail "Esc left the graph window open"
focus_window "$main"
type_line_for_title 'fx1 x' 'y = x*x' "the graph window did not come back"
click_in "$graph" 25 "HEIGHT - 16"
[[ -n "$(wait_for_title '自变量范围:' prefix)" ]] || fail "the function list did not come back"
sleep 0.3 && again=$(xdotool getwindowgeometry "$functions" | grep Position)
[[ "$again" == "$moved" ]] || fail "the function list moved from '$moved' to '$again'"

# With no function left the graph window's title is empty, not the program's name.
focus_window "$main"
type_line 'fxclr' && sleep 0.3
[[ "$(xprop -id "$graph" -notype -f _NET_WM_NAME 8c _NET_WM_NAME)" == "_NET_WM_NAME = " ]] ||
    fail "after fxclr the graph window is titled '$(xprop -id "$graph" _NET_WM_NAME)'"

if [[ -n "$wm" ]]; then
    # A definition typed in the active main window brings the graph window up over it, also
    # where the graph window lay hidden behind it.
    eval "$(xdotool getwindowgeometry --shell "$main")"
    xdotool windowmove --sync "$graph" "$X" "$Y"
    focus_window "$main"
    type_line_for_title 'fx3 x-1' 'y = x-1' "no graph window after fx3"
    sleep 0.5
    expect_above "$graph" "$main" "a definition over a graph window behind the main window"

    # "主窗口总在最前" (115, 22) takes the main window to the corner where the graph window
    # comes up; a new graph must still be seen, and the list stays in sight. The check box
    # keeps the focus: Tab goes on to the worksheet.
    focus_window "$graph"
    xdotool key Escape
    focus_window "$main"
    click_main 120 27
    main=$(wait_for_title Quillet)
    xdotool key --delay 40 Tab ctrl+End
    type_line_for_title 'fx2 x+1' 'y = x+1' "no graph window after fx2"
    sleep 0.5
    expect_above "$graph" "$main" "a definition under an always-on-top main window"
    expect_above "$list" "$main" "the list under an always-on-top main window"
    screenshot always_on_top
fi

echo "application end to end${wm:+ under $wm}: passed"
