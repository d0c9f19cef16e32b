# Sourced by the scripts that run Wine: one private prefix per build folder.
# Usage: . scripts/wine-env.sh BUILD_DIR
tavro_build_dir=$(cd "${1:?build dir}" && pwd)
export WINEPREFIX="$tavro_build_dir/wineprefix"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}mscoree,mshtml="
