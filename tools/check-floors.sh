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
)
status=0
for folder in "${!allowed[@]}"; do
    [[ -d "$folder" ]] || continue
    while IFS=: read -r file _ include; do
        target=${include#*\"}
        target=${target%%/*}
        if [[ " ${allowed[$folder]} " != *" $target "* ]]; then
            echo "$file includes $target/, a floor above $folder/" >&2
            status=1
        fi
    done < <(grep -rnE '^#include "[a-z]+/' "$folder" --include='*.h' --include='*.cpp' || true)
done
exit $status
