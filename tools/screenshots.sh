#!/usr/bin/env bash
# Pictures of velunor's windows as a user sees them, taken under Xvfb:
#   tools/screenshots.sh [OUTPUT_FOLDER]       (default build/screenshots)
# 1. the start without any window package: splash, then the message that names what is missing;
# 2. an unattended load of the sample application, copied forty times so that the progress
#    window stays up for a while, caught at several moments of the run.
# Each picture is a PNG of the whole screen.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin="$root/build/bin"
out=${1:-$root/build/screenshots}
mkdir -p "$out"
for tool in Xvfb xwd convert; do
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

# 1. No window package is installed yet: the message says which function is missing.
"$bin/velunor" > /dev/null 2>&1 &
program=$!
sleep 0.4
shoot 01-splash
sleep 2.5
shoot 02-start-message
kill $program 2> /dev/null || true
wait $program 2> /dev/null || true

# 2. The progress window of an unattended load.
cli="$bin/velunor-cli"
"$cli" languages extensions IBMCOB ".cbl;.cpy" > /dev/null
"$cli" languages extensions IBMJCL ".jcl" > /dev/null
"$cli" languages extensions BMS ".bms" > /dev/null
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
    shoot "03-load-progress-$moment"
done
status=0
wait $program || status=$?
echo "the load ended with exit status $status"
exit $status
