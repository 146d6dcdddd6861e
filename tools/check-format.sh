#!/usr/bin/env bash
# Every C++ source and header is formatted as the root .clang-format says; the sources that
# the language tests parse keep the styles real programs are written in.
#   tools/check-format.sh [SOURCE_FOLDER]
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"
command -v clang-format > /dev/null || { echo "clang-format is not installed"; exit 77; }
find base repository parsing loading query shell cli languages tests bench \
    \( -path 'tests/languages/*' -type d \) -prune -o \( -name '*.cpp' -o -name '*.h' \) -print0 |
    xargs -0 clang-format --dry-run -Werror
