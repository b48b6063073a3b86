# Shared by run.sh and test.sh: installs missing Debian packages, then configures and builds
# the project (release with debug info). Sourced, not run.

KRAV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KRAV_BUILD="$KRAV_ROOT/build"
KRAV_PACKAGES=(cmake ninja-build g++ qt6-base-dev libpng-dev libgtest-dev libgmock-dev libbenchmark-dev)
# The desktop tests run the editor in a private X session (tests/desktop).
KRAV_DESKTOP_PACKAGES=(xvfb openbox xdotool x11-utils imagemagick python3)

krav_install_packages() {
    local missing=() pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || {
            echo "These packages are missing and I am not root: ${missing[*]}" >&2
            return 1
        }
        sudo=(sudo)
    fi
    echo "Installing ${missing[*]}"
    "${sudo[@]}" apt-get update -qq &&
        DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
            "${missing[@]}"
}

# krav_build_in DIR [CMAKE_ARGS...]: configures and builds in DIR; the arguments go to cmake.
# KRAV_TARGETS, when set, limits the build to those targets.
krav_build_in() {
    local dir=$1
    shift
    local targets=()
    [ -n "${KRAV_TARGETS:-}" ] && targets=(--target $KRAV_TARGETS)
    krav_install_packages "${KRAV_PACKAGES[@]}" || return 1
    cmake -S "$KRAV_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null &&
        cmake --build "$dir" -j "$(nproc)" "${targets[@]}"
}

# krav_build [CMAKE_ARGS...]: the usual build, in build/.
krav_build() {
    krav_build_in "$KRAV_BUILD" "$@"
}
