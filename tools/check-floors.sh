#!/usr/bin/env bash
# The folders are floors: a file includes only from its own floor and the floors below.
#   tools/check-floors.sh [SOURCE_FOLDER]
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"
declare -A allowed=(
    [base]="base"
    [repository]="base repository"
    [parsing]="base repository parsing"
    [loading]="base repository parsing loading"
    [query]="base repository parsing query"
    [languages]="base repository parsing languages"
    [shell]="base repository parsing loading query shell"
    [cli]="base repository parsing loading query shell cli"
    [formpreview]="base repository formpreview"
    [view]="base repository parsing loading query shell formpreview view"
    [query/window]="base repository parsing loading query shell"
)
status=0
for folder in "${!allowed[@]}"; do
    [[ -d "$folder" ]] || continue
    # A subfolder with a floor of its own is checked as that floor.
    exclude=()
    for other in "${!allowed[@]}"; do
        [[ $other == "$folder"/* ]] && exclude+=("--exclude-dir=${other#"$folder"/}")
    done
    while IFS=: read -r file _ include; do
        target=${include#*\"}
        target=${target%%/*}
        if [[ " ${allowed[$folder]} " != *" $target "* ]]; then
            echo "$file includes $target/, a floor above $folder/" >&2
            status=1
        fi
    done < <(grep -rnE '^#include "[a-z]+/' "$folder" "${exclude[@]}" --include='*.h' --include='*.cpp' || true)
done
exit $status
