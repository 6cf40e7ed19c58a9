#!/usr/bin/env bash
# Installs the Debian packages that the build needs ("build"), the build and
# the test suite with its house checks ("test"), or the build and the
# clang-tidy run ("tidy").
# Idempotent: packages already present are skipped, and apt is not touched at
# all when nothing is missing. Runs apt as root directly, through sudo
# otherwise.
set -euo pipefail

# The build, installing it and making its Debian package (cpack needs
# dpkg-shlibdeps and file).
build_packages=(
    cmake g++ make pkg-config ccache
    qt6-base-dev libsqlite3-dev libxlsxwriter-dev libzip-dev libexpat1-dev zlib1g-dev libical-dev dpkg-dev
    file
    help2man
)
test_packages=(
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth xdotool xclip x11-utils imagemagick sqlite3
    clang libclang-rt-14-dev fonts-dejavu-core hyperfine
    openbox wmctrl x11-xserver-utils dbus-daemon desktop-file-utils librsvg2-bin
    appstream lintian man-db groff-base
    git clang-format clang-tidy python3
)
tidy_packages=(clang-tidy python3)

wanted=("${build_packages[@]}")
case "${1:-build}" in
build) ;;
test) wanted+=("${test_packages[@]}") ;;
tidy) wanted+=("${tidy_packages[@]}") ;;
*)
    echo "usage: $0 [build|test|tidy]" >&2
    exit 2
    ;;
esac

missing=()
for pkg in "${wanted[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
done

if ((${#missing[@]} == 0)); then
    exit 0
fi

echo "Installing missing packages: ${missing[*]}"
as_root=()
if [[ $(id -u) -ne 0 ]]; then
    as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
