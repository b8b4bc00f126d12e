# Shared by the tools: package installation and the Wine environment. Sourced, not run.

ORVANE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Packages every build needs, and those that running and testing under Wine add.
ORVANE_BUILD_PACKAGES=(cmake ninja-build g++ googletest g++-mingw-w64-x86-64-posix
                       binutils-mingw-w64-x86-64 clang-format git clang libclang-rt-14-dev llvm)
ORVANE_WINE_PACKAGES=(wine wine64 xvfb xauth x11-utils imagemagick fonts-liberation fonts-droid-fallback)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs the Debian packages that are missing; nothing is fetched from anywhere else.
ensure_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$pkg")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    as_root env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Exports the environment for Wine in the given prefix.
wine_env() {
    export WINEPREFIX="$1"
    export WINEDEBUG=-all
    # No Mono or Gecko installers, and no menu builder: Wine starts one for every shortcut a test or a
    # bench writes, and a thousand of them load the machine for a minute after the writing ends.
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    export WINEARCH=win64
}
