#!/usr/bin/env bash
# Pictures of velunor's windows as a user sees them, taken under Xvfb:
#   tools/screenshots.sh [OUTPUT_FOLDER]       (default docs)
# 1. the start on an empty repository: splash, then the View on it;
# 2. the View over the loaded sample application, nodes opened both ways;
# 3. the Query window on a query document: its hits, the rules one hit runs under and the
#    rows around it; the Source Databases and Load dialogs from its Tools menu;
# 4. an unattended load of the sample application, copied forty times so that the progress
#    window stays up for a while, caught at several moments of the run.
# Each picture is a PNG of the whole screen.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin="$root/build/bin"
out=${1:-$root/docs}
mkdir -p "$out"
for tool in Xvfb xwd convert xdotool; do
    command -v $tool > /dev/null || { echo "$tool is missing (tools/install-debian-packages.sh)" >&2; exit 1; }
done

work=$(mktemp -d)
display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp > /dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2> /dev/null; rm -rf "$work"' EXIT
sleep 1
export DISPLAY=$display VELUNOR_HOME=$work/home
unset QT_QPA_PLATFORM
mkdir -p "$VELUNOR_HOME"

shoot() { # name
    xwd -root -silent > "$work/shot.xwd" && convert "$work/shot.xwd" "$out/$1.png"
    echo "$out/$1.png"
}

# A window the program placed itself (a dialog beside its owner) is drawn in its own
# picture but not in the root's under Xvfb without a window manager: it is taken alone.
shootwindow() { # name title
    local window
    window=$(xdotool search --name "$2" | head -1)
    [ -n "$window" ] || { echo "no window named $2" >&2; return 1; }
    xwd -id "$window" > "$work/shot.xwd" && convert "$work/shot.xwd" "$out/$1.png"
    echo "$out/$1.png"
}

# Keys go to the View's tree: it has the focus when the window opens.
keys() { # key...
    local window
    window=$(xdotool search --name "Velunor - View" | head -1)
    for key in "$@"; do
        xdotool key --window "$window" "$key"
        sleep 0.15
    done
    sleep 0.5
}

# 1. An empty repository: the View says how to fill it.
"$bin/velunor" > /dev/null 2>&1 &
program=$!
sleep 0.4
shoot 01-splash
sleep 2.5
shoot 02-view-on-empty-repository
kill $program 2> /dev/null || true
wait $program 2> /dev/null || true

# 2. The sample application: systems contain files, objects, entries; programs call.
cli="$bin/velunor-cli"
"$cli" languages extensions IBMCOB ".cbl;.cpy" > /dev/null
"$cli" languages extensions IBMJCL ".jcl" > /dev/null
"$cli" languages extensions BMS ".bms" > /dev/null
mkdir -p "$work/samples"
cp -r "$root/samples/." "$work/samples/"
"$cli" sources add-folder "$work/samples" --system BILLING --computer-type MVS \
    --location PRODUCTION --application NIGHTLY-BILLING --yes > /dev/null
"$cli" load > /dev/null
"$bin/velunor" > /dev/null 2>&1 &
program=$!
sleep 3
xdotool search --name "Velunor - View" windowsize %@ 1100 720 windowmove %@ 40 30 > /dev/null
sleep 0.5
keys Home Right Down Right Down Down Down Right Down Right
shoot 03-view-distribution-topdown
# Dependencies TopDown by Object: what the programs call. The panel sits at a fixed place
# in the window moved to 40,30.
click() { xdotool mousemove "$1" "$2" click 1; sleep 0.4; }
click 65 114
click 145 251
xdotool type --delay 100 "Object"
xdotool key Return
sleep 0.3
click 145 400
sleep 1
click 500 86
keys Home Down Down Down Down Right Down Right
shoot 04-view-dependencies-topdown
# BottomUp: who calls them.
click 65 194
click 145 400
sleep 1
click 500 86
keys Home Down Down Down Down Down Down Right
shoot 04-view-dependencies-bottomup
kill $program 2> /dev/null || true
wait $program 2> /dev/null || true

# 3. A query document that finds the statements naming WS-RETURN; Enter runs it, the hits
# take the focus, the menu key opens the grid's menu on the current hit.
query="$work/returns.vnq"
printf '%s\n\r' "Returns" "Analyst" "" "VN_FirstDataBase" "Statements" \
    0 "0,0,0,WS-RETURN" 0 "0,0,0," -1 0 -1 0 > "$query"
"$bin/velunor" "$query" > /dev/null 2>&1 &
program=$!
sleep 3
querywindow=$(xdotool search --name "Velunor - Returns" | head -1)
xdotool windowsize "$querywindow" 1100 720 windowmove "$querywindow" 40 30
sleep 0.5
xdotool windowfocus --sync "$querywindow"
xdotool key Return
sleep 1
shoot 06-query-hits
# The AT END of the paragraph that BILL000's main paragraph performs.
xdotool key Down Down Down Down
sleep 0.3
menu() { # entry: the grid's menu, opened from the keyboard, down to the entry
    xdotool windowfocus --sync "$querywindow"
    xdotool key Menu
    sleep 0.4
    for _ in $(seq 1 "$1"); do xdotool key Down; sleep 0.1; done
    xdotool key Return
    sleep 1
}
menu 7
sleep 1
# Up the call chain: the caller's node opened.
rules=$(xdotool search --name "^Rules for Row$" | head -1)
xdotool windowfocus --sync "$rules"
xdotool key End; sleep 0.3; xdotool key Right; sleep 0.3; xdotool key Down
sleep 1
shoot 07-query-rules-for-row
xdotool search --name "^Rules for Row$" windowclose %@ > /dev/null 2>&1 || true
sleep 0.5
menu 6
sleep 1
shoot 08-query-rows-around
xdotool search --name "^Show Rows Around$" windowclose %@ > /dev/null 2>&1 || true
sleep 0.5
# The Tools menu of the Query window: Settings > Source Databases..., then Load...
tools() { # keys...
    xdotool windowfocus --sync "$querywindow"
    xdotool mousemove 133 38 click 1
    sleep 0.5
    xdotool key "$@"
    sleep 1.5
}
tools Down Right Return
shootwindow 09-source-databases "^Source Databases$"
xdotool key Escape
sleep 0.5
tools Down Down Return
shootwindow 10-load-dialog "^Load$"
xdotool key Escape
sleep 0.5
kill $program 2> /dev/null || true
wait $program 2> /dev/null || true
"$cli" sources remove "$work/samples" --yes > /dev/null 2>&1 || true

# 4. The progress window of an unattended load.
for copy in $(seq -w 1 40); do
    mkdir -p "$work/sources/$copy"
    cp -r "$root/samples/." "$work/sources/$copy/"
done
"$cli" sources add-folder "$work/sources" --system BILLING --computer-type MVS \
    --location PRODUCTION --application NIGHTLY-BILLING --yes > /dev/null
"$bin/velunor" LOAD_INTO_DB_NAMED VN_FirstDataBase > /dev/null 2>&1 &
program=$!
for moment in $(seq 1 ${VELUNOR_SHOTS:-6}); do
    sleep ${VELUNOR_SHOT_GAP:-0.7}
    kill -0 $program 2> /dev/null || break
    shoot "05-load-progress-$moment"
done
status=0
wait $program || status=$?
echo "the load ended with exit status $status"
exit $status
