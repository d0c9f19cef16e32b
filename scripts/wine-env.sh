# Sourced by the scripts that run Wine: one private prefix per build folder.
# Usage: . scripts/wine-env.sh BUILD_DIR
tavro_build_dir=$(cd "${1:?build dir}" && pwd)
export WINEPREFIX="$tavro_build_dir/wineprefix"
# The build says which size of prefix runs its programs (CMake writes wine-arch).
WINEARCH=$(cat "$tavro_build_dir/wine-arch" 2>/dev/null || echo win32)
export WINEARCH
export WINEDEBUG=-all
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}mscoree,mshtml="
