#!/usr/bin/env bash
# The main job on the embedded default repository: make the languages know the sample
# application's file extensions, register samples/ as a folder source (once), load it,
# and print what the repository holds and what its sources miss. Run it again and it
# reuses everything and reports that nothing changed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin="$root/build/bin"
cli="$bin/velunor-cli"
samples="$root/samples"

# The sources use the extensions of real projects; keep whatever else a user added.
add_extensions() { # language, extensions...
    local language=$1 current
    shift
    current=$("$cli" languages list | awk -F'\t' -v l="$language" '$2 == l { print $3 }')
    for extension in "$@"; do
        case ";$current;" in *";$extension;"*) ;; *) current="${current:+$current;}$extension" ;; esac
    done
    "$cli" languages extensions "$language" "$current"
}
add_extensions IBMCOB .cbl .cpy
add_extensions IBMJCL .jcl
add_extensions BMS .bms

if ! "$cli" sources list | awk -F'\t' '{ print $2 }' | grep -qxF "$samples"; then
    "$cli" sources add-folder "$samples" --system BILLING --computer-type MVS \
        --location PRODUCTION --application NIGHTLY-BILLING --yes
fi

status=0
"$cli" load || status=$?
echo
"$cli" status
echo
echo "Referenced but not loaded:"
"$cli" missing
if ((status == 0)) && [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
    "$bin/velunor" >/dev/null 2>&1 &
fi
exit "$status"
