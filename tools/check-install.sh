#!/usr/bin/env bash
# Installs the build into a private prefix and runs the installed velunor-cli there: the
# programs land in bin/, the packages in lib/velunor/, and a user who cannot write the
# program's folder keeps the settings in the user's configuration folder.
#   tools/check-install.sh BUILD_FOLDER
set -euo pipefail
build=${1:?usage: check-install.sh BUILD_FOLDER}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix/opt" > /dev/null
for file in bin/velunor bin/velunor-cli lib/velunor/vxcore.so lib/velunor/vxlib0100.so \
            lib/velunor/vxlib0200.so lib/velunor/vxlib0520.so; do
    [[ -e "$prefix/opt/$file" ]] || { echo "the installation lacks $file" >&2; exit 1; }
done
home="$prefix/home"
mkdir -p "$home"
VELUNOR_HOME="$home" "$prefix/opt/bin/velunor-cli" languages list | grep -q IBMCOB \
    || { echo "the installed velunor-cli does not find its language packages" >&2; exit 1; }
[[ -n "$(ls -A "$home")" ]] \
    || { echo "the installed velunor-cli wrote no settings into VELUNOR_HOME" >&2; exit 1; }

# Without VELUNOR_HOME, as a user who cannot write the program's folder.
if [[ $(id -u) -ne 0 ]] || ! id nobody > /dev/null 2>&1; then
    echo "the user fallback needs root to run as another user: installation checked only"
    exit 77
fi
config="$prefix/config"
mkdir -p "$config"
chown nobody "$config"
chmod 755 "$prefix"
su nobody -s /bin/sh -c "XDG_CONFIG_HOME='$config' '$prefix/opt/bin/velunor-cli' status" > /dev/null \
    || { echo "the installed velunor-cli failed for a user who cannot write its folder" >&2; exit 1; }
[[ -n "$(ls "$config/velunor" 2>/dev/null)" ]] \
    || { echo "no settings were written to \$XDG_CONFIG_HOME/velunor" >&2; exit 1; }
[[ -z "$(ls "$prefix/opt/bin" | grep -v '^velunor')" ]] \
    || { echo "settings were written beside the installed program" >&2; exit 1; }
echo "installed: programs in bin/, packages in lib/velunor/, settings in \$XDG_CONFIG_HOME/velunor"
