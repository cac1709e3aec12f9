# Installs the Debian packages the build, the game and the tests need (sourced by play.sh
# and test.sh). Only missing packages are installed; apt-get runs through sudo when not root.

tess_install_packages() {
    local missing=()
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
}

# Building and running the game.
TESS_BUILD_PACKAGES=(build-essential cmake pkg-config libsdl2-dev libepoxy-dev libpng-dev
    libfreetype-dev fonts-dejavu-core libgl1-mesa-dri libegl1 libegl-mesa0)
# Tests, benchmarks and the fuzzers' corpus replay.
TESS_TEST_PACKAGES=(googletest libgtest-dev libgmock-dev libbenchmark-dev clang
    libclang-rt-14-dev xvfb xauth)
# Building the Debian package and checking the installed files (scripts/package_check.sh).
TESS_PACKAGE_PACKAGES=(dpkg-dev file appstream desktop-file-utils groff-base gzip)
