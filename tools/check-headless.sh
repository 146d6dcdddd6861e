#!/usr/bin/env bash
# Proves that velunor-cli runs where no desktop stack is installed: it links no widget or
# GUI library, and `velunor-cli status` works with those libraries hidden from the loader.
#   tools/check-headless.sh PACKAGE_FOLDER [--hidden]
# Without --hidden only the linkage is checked. With it, the widget and GUI libraries are
# covered by an empty file in a private mount namespace (root only); where that is not
# possible the check says so and exits 77, which the test run reports as skipped.
set -euo pipefail
folder=${1:?usage: check-headless.sh PACKAGE_FOLDER [--hidden]}
cli="$folder/velunor-cli"
[[ -x "$cli" ]] || { echo "no velunor-cli in $folder" >&2; exit 1; }

if ldd "$cli" | grep -E 'libQt6(Widgets|Gui)|libEGL|libOpenGL|libGLX'; then
    echo "velunor-cli links a display library (above)" >&2
    exit 1
fi
for package in "$folder"/vxlib0*.so; do
    [[ "$(basename "$package")" == vxlib0100.so ]] && continue
    if readelf -d "$package" | grep -E 'NEEDED.*(libQt6Widgets|libQt6Gui)'; then
        echo "the display-free package $package links a display library" >&2
        exit 1
    fi
done
[[ "${2:-}" == --hidden ]] || exit 0

if [[ $(id -u) -ne 0 ]] || ! unshare --mount true 2>/dev/null; then
    echo "cannot hide libraries here (needs root and a mount namespace): linkage checked only"
    exit 77
fi
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mapfile -t hidden < <(ldconfig -p | awk '/libQt6(Widgets|Gui|OpenGL)\.so|libEGL\.so|libGLX\.so/ {print $NF}' \
    | xargs -r readlink -f | sort -u)
((${#hidden[@]})) || { echo "no widget library installed: nothing to hide"; }
VELUNOR_HOME="$home" unshare --mount bash -c '
    set -euo pipefail
    for library in "$@"; do mount --bind /dev/null "$library"; done
    # The libraries are really gone for this process: loading one fails.
    if [[ $# -gt 0 ]] && python3 -c "import ctypes,sys; ctypes.CDLL(sys.argv[1])" "$1" 2>/dev/null; then
        echo "hiding $1 did not work" >&2; exit 1
    fi
    "$0" status
' "$cli" "${hidden[@]}"
echo "velunor-cli status ran with ${#hidden[@]} display libraries hidden"
