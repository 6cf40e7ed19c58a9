#!/usr/bin/env bash
# Checks of what the desktop and the package manager see of Reelkeeper.
#
# usage: packaging_test.sh desktop-entry <source folder>
#        packaging_test.sh icon <source folder> <build folder>
#        packaging_test.sh deb <build folder>
set -euo pipefail

scratch=""
trap '[[ -z "$scratch" ]] || rm -rf "$scratch"' EXIT

fail() {
    echo "FAILED: $*" >&2
    exit 1
}
require() {
    command -v "$1" >/dev/null 2>&1 ||
        fail "$1 is missing (Debian package $2; scripts/install-deps.sh test installs it)"
}

# The desktop entry follows the freedesktop.org rules and names the command and icon.
desktop_entry() {
    local entry="$1/packaging/reelkeeper.desktop"
    require desktop-file-validate desktop-file-utils
    desktop-file-validate "$entry" || fail "desktop-file-validate rejects $entry"
    grep -qx 'Name=Reelkeeper' "$entry" || fail "the entry is not named Reelkeeper"
    grep -qx 'Exec=reelkeeper' "$entry" || fail "the entry does not start reelkeeper"
    grep -qx 'Icon=reelkeeper' "$entry" || fail "the entry names another icon"
}

# The PNG sizes painted at build time look like the SVG drawn by hand.
icon() {
    local svg="$1/packaging/reelkeeper.svg" icons="$2/icons/hicolor" size difference
    require rsvg-convert librsvg2-bin
    require compare imagemagick
    scratch=$(mktemp -d)
    for size in 16 22 24 32 48 64 128 256; do
        local png="$icons/${size}x${size}/apps/reelkeeper.png"
        [[ -f "$png" ]] || fail "$png was not made"
        rsvg-convert -w "$size" -h "$size" "$svg" -o "$scratch/svg-$size.png"
        # compare prints the root-mean-square difference, normalised, in brackets.
        difference=$(compare -metric RMSE "$scratch/svg-$size.png" "$png" null: 2>&1 |
            sed -n 's/.*(\(.*\)).*/\1/p') || true
        [[ -n "$difference" ]] || fail "compare could not compare the ${size}px icons"
        awk -v d="$difference" 'BEGIN { exit !(d < 0.03) }' ||
            fail "the ${size}px icon differs from the SVG (RMSE $difference)"
    done
}

# The Debian package built by CPack from the install rules.
deb() {
    local build=$1 package listing
    require cpack cmake
    require dpkg-deb dpkg
    require dpkg-shlibdeps dpkg-dev
    scratch=$(mktemp -d)
    (cd "$build" && cpack -G DEB -B "$scratch" >"$scratch/cpack.log" 2>&1) ||
        fail "cpack failed: $(tail -n 20 "$scratch/cpack.log")"
    package=$(ls "$scratch"/reelkeeper_*.deb 2>/dev/null | head -n 1)
    [[ -n "$package" ]] || fail "cpack made no reelkeeper .deb"

    [[ "$(dpkg-deb -f "$package" Package)" == reelkeeper ]] || fail "wrong package name"
    dpkg-deb -f "$package" Depends | grep -q 'libqt6widgets6' ||
        fail "the package does not depend on the Qt libraries it links"
    # Lines of the listing without permissions, owner, size, date and time.
    listing=$(dpkg-deb -c "$package" | sed -E 's/^([^ ]+ +){5}//')
    local wanted=(
        "./usr/bin/reelkeeper -> ../lib/reelkeeper/reelkeeper"
        "./usr/lib/reelkeeper/reelkeeper"
        "./usr/bin/reelkeeper-cli -> ../lib/reelkeeper/reelkeeper-cli"
        "./usr/lib/reelkeeper/reelkeeper-cli"
        "./usr/lib/reelkeeper/dbDVD.mdb"
        "./usr/share/applications/reelkeeper.desktop"
        "./usr/share/icons/hicolor/scalable/apps/reelkeeper.svg"
    )
    for size in 16 22 24 32 48 64 128 256; do
        wanted+=("./usr/share/icons/hicolor/${size}x${size}/apps/reelkeeper.png")
    done
    local path
    for path in "${wanted[@]}"; do
        grep -qxF -- "$path" <<<"$listing" || fail "the package lacks $path"
    done
    [[ ! -f "$build/bin/HAND-M.CUR" ]] || grep -qxF './usr/lib/reelkeeper/HAND-M.CUR' <<<"$listing" ||
        fail "the package lacks the hand pointer"
    # Nothing of the build machine goes along.
    if grep -v -e '^\./usr/bin/' -e '^\./usr/lib/reelkeeper/' -e '^\./usr/share/applications/' \
        -e '^\./usr/share/icons/hicolor/' -e '^\./usr/$' -e '^\./usr/lib/$' -e '^\./usr/share/$' \
        -e '^\./usr/share/icons/$' <<<"$listing" >"$scratch/extra"; then
        fail "the package holds unexpected files: $(cat "$scratch/extra")"
    fi
}

case ${1:-} in
desktop-entry) desktop_entry "$2" ;;
icon) icon "$2" "$3" ;;
deb) deb "$2" ;;
*) fail "unknown check ${1:-}" ;;
esac
echo "passed"
