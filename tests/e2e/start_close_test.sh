#!/usr/bin/env bash
# The real program in a real X session, driven from outside: the first start
# creates the catalogue from the template; closing through the window
# manager writes the window state and the nine column widths; the next start
# brings them back (a widened column is where it was left, a maximized
# window opens maximized) and keeps the catalogue it found.
#
# usage: start_close_test.sh <name> <artifact folder> --program <executable> <32x32 icon>
#        start_close_test.sh <name> <artifact folder> --install <build folder>
#        start_close_test.sh <name> <artifact folder> --deb <build folder> <package folder>
# With --install the build is installed with `cmake --install` into a
# scratch prefix, the prefix is moved elsewhere, and the program is started
# as the `reelkeeper` command from the moved prefix's bin folder.
# With --deb the Debian package is installed by dpkg into a scratch root,
# started the same way, and purged again at the end: the root must then be
# empty but for dpkg's own records, the user's catalogue and settings kept.
set -euo pipefail
source "$(dirname "$0")/x_session.sh"

name=$1 artifacts=$2 mode=$3 target=$4 icon=${5:-}
readonly app_id=example.tarnwick.reelkeeper
e2e_begin "$name" "$artifacts"

check_installed_layout() {
    local prefix=$1 build=$2 size
    [[ -L "$prefix/bin/reelkeeper" ]] || e2e_fail "bin/reelkeeper is not a link"
    [[ "$(readlink "$prefix/bin/reelkeeper")" == ../* ]] ||
        e2e_fail "bin/reelkeeper does not point into the prefix by a relative link"
    [[ -x "$prefix/lib/reelkeeper/reelkeeper" ]] || e2e_fail "lib/reelkeeper/reelkeeper is missing"
    [[ -f "$prefix/lib/reelkeeper/dbDVD.mdb" ]] || e2e_fail "the template catalogue is not installed"
    [[ "$(readlink "$prefix/bin/reelkeeper-cli")" == ../lib/reelkeeper/reelkeeper-cli ]] ||
        e2e_fail "bin/reelkeeper-cli is not a relative link to the program folder"
    # The command line program runs from the moved prefix (listing the
    # template, which it never changes).
    local listed
    listed=$("$prefix/bin/reelkeeper-cli" --catalogue "$prefix/lib/reelkeeper/dbDVD.mdb" list)
    [[ "$listed" == id,title,* ]] || e2e_fail "the installed reelkeeper-cli does not list"
    if [[ -f "$build/bin/HAND-M.CUR" ]]; then
        cmp -s "$build/bin/HAND-M.CUR" "$prefix/lib/reelkeeper/HAND-M.CUR" ||
            e2e_fail "the hand pointer is not installed beside the program"
    fi
    if [[ -d "$build/bin/x" ]]; then
        diff -r "$build/bin/x" "$prefix/lib/reelkeeper/x" >/dev/null ||
            e2e_fail "the skin folder is not installed beside the program"
    fi
    local entry="$prefix/share/applications/$app_id.desktop"
    [[ -f "$entry" ]] || e2e_fail "the desktop entry is not installed"
    grep -qx 'Name=Reelkeeper' "$entry" || e2e_fail "the desktop entry is not named Reelkeeper"
    grep -qx 'Exec=reelkeeper' "$entry" || e2e_fail "the desktop entry does not start reelkeeper"
    grep -qx 'Icon=reelkeeper' "$entry" || e2e_fail "the desktop entry names another icon"
    [[ -f "$prefix/share/icons/hicolor/scalable/apps/reelkeeper.svg" ]] ||
        e2e_fail "the scalable icon is not installed"
    for size in 16 22 24 32 48 64 128 256; do
        local png="$prefix/share/icons/hicolor/${size}x${size}/apps/reelkeeper.png"
        [[ "$(identify -format '%m %wx%h' "$png" 2>/dev/null)" == "PNG ${size}x${size}" ]] ||
            e2e_fail "no ${size}x${size} PNG icon in the hicolor theme"
    done
}

case $mode in
--program)
    program=(env "$target")
    template=$(dirname "$(readlink -f "$target")")/dbDVD.mdb
    ;;
--install)
    cmake --install "$target" --prefix "$E2E_TMP/stage/usr" >"$E2E_TMP/install.log" 2>&1 ||
        e2e_fail "cmake --install failed: $(tail -n 5 "$E2E_TMP/install.log")"
    mkdir -p "$E2E_TMP/moved"
    mv "$E2E_TMP/stage/usr" "$E2E_TMP/moved/prefix"
    prefix="$E2E_TMP/moved/prefix"
    check_installed_layout "$prefix" "$target"
    program=(env "PATH=$prefix/bin:$PATH" reelkeeper)
    template="$prefix/lib/reelkeeper/dbDVD.mdb"
    icon="$prefix/share/icons/hicolor/32x32/apps/reelkeeper.png"
    ;;
--deb)
    e2e_require dpkg dpkg
    package_folder=$icon
    package=$(ls "$package_folder"/reelkeeper_*.deb 2>/dev/null | head -n 1)
    [[ -n "$package" ]] || e2e_fail "no reelkeeper package in $package_folder"
    root="$E2E_TMP/root"
    mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/triggers"
    touch "$root/var/lib/dpkg/status" "$root/var/lib/dpkg/available"
    dpkg_in_root() { dpkg --root="$root" --force-not-root --log=/dev/null "$@"; }
    # The scratch root holds no other package; the program runs on this machine's libraries.
    dpkg_in_root --force-depends -i "$package" >"$E2E_TMP/dpkg.log" 2>&1 ||
        e2e_fail "dpkg -i failed: $(tail -n 5 "$E2E_TMP/dpkg.log")"
    prefix="$root/usr"
    check_installed_layout "$prefix" "$target"
    program=(env "PATH=$prefix/bin:$PATH" reelkeeper)
    template="$prefix/lib/reelkeeper/dbDVD.mdb"
    icon="$prefix/share/icons/hicolor/32x32/apps/reelkeeper.png"
    ;;
*) e2e_fail "unknown mode $mode" ;;
esac

catalogue="$XDG_DATA_HOME/Tarnwick/Reelkeeper/dbDVD.mdb"
ini="$XDG_CONFIG_HOME/Tarnwick/Reelkeeper.ini"

# The fixed layout at 96 dpi: client area 12240 x 6135 twips; the list at
# 120, 120 with a one-pixel frame; the "ID" column hidden, "Title" 1400 wide.
header_y=$(($(e2e_px 120) + 10))
title_right=$(($(e2e_px 120) + 1 + $(e2e_px 1400)))

# --- First start: the catalogue comes from the template.
[[ ! -e "$catalogue" ]] || e2e_fail "the data home is not fresh"
e2e_start "${program[@]}"
e2e_main_window
[[ -f "$catalogue" ]] || e2e_fail "the first start did not create $catalogue"
[[ "$(sqlite3 "$catalogue" .schema)" == "$(sqlite3 "$template" .schema)" ]] ||
    e2e_fail "the new catalogue's tables differ from the template's"
[[ "$(sqlite3 "$catalogue" 'select count(*) from dvd')" == 0 ]] ||
    e2e_fail "the new catalogue is not empty"
[[ "$(e2e_client_size "$E2E_MAIN")" == "$(e2e_px 12240) $(e2e_px 6135)" ]] ||
    e2e_fail "the window is $(e2e_client_size "$E2E_MAIN") pixels, not 12240 x 6135 twips at 96 dpi"
e2e_check_icon "$E2E_MAIN" "$icon"

# Widen "Title" by 60 pixels (900 twips) and maximize the window.
e2e_drag "$E2E_MAIN" "$title_right" "$header_y" $((title_right + 60))
wmctrl -i -r "$E2E_MAIN" -b add,maximized_vert,maximized_horz
e2e_wait_until "the window to be maximized" e2e_is_maximized "$E2E_MAIN"
e2e_close "$E2E_MAIN"

[[ -f "$ini" ]] || e2e_fail "closing wrote no settings file"
expected_widths=(0 2300 1400 1400 1400 1400 1400 1400 1400)
check_settings() {
    local state=$1 n value
    value=$(e2e_setting "$ini" WindowState) || e2e_fail "WindowState was not written"
    [[ "$value" == "$state" ]] || e2e_fail "WindowState is '$value', not $state"
    for n in 1 2 3 4 5 6 7 8 9; do
        value=$(e2e_setting "$ini" "ColumnHeaders$n") || e2e_fail "ColumnHeaders$n was not written"
        [[ "$value" == "${expected_widths[n - 1]}" ]] ||
            e2e_fail "ColumnHeaders$n is '$value', not ${expected_widths[n - 1]}"
    done
}
expected_widths[1]=$((($(e2e_px 1400) + 60) * 15))
check_settings 2

# A movie added meanwhile must still be there: the second start keeps the catalogue.
sqlite3 "$catalogue" "insert into dvd (title, year) values ('Kept Between Starts', '2001')"

# --- Second start: maximized again, "Title" where it was left: the border
# is found at its widened place and moved another 20 pixels.
e2e_start "${program[@]}"
e2e_main_window
e2e_wait_until "the window to open maximized" e2e_is_maximized "$E2E_MAIN"
[[ "$(sqlite3 "$catalogue" "select title from dvd")" == "Kept Between Starts" ]] ||
    e2e_fail "the second start replaced the catalogue"
widened_right=$((title_right + 60))
e2e_drag "$E2E_MAIN" "$widened_right" "$header_y" $((widened_right + 20))
e2e_close "$E2E_MAIN"

expected_widths[1]=$((($(e2e_px 1400) + 80) * 15))
check_settings 2

if [[ $mode == --deb ]]; then
    dpkg_in_root --purge reelkeeper >>"$E2E_TMP/dpkg.log" 2>&1 ||
        e2e_fail "dpkg --purge failed: $(tail -n 5 "$E2E_TMP/dpkg.log")"
    leftovers=$(find "$root" -mindepth 1 -not -path "$root/var" -not -path "$root/var/lib" \
        -not -path "$root/var/lib/dpkg" -not -path "$root/var/lib/dpkg/*")
    [[ -z "$leftovers" ]] || e2e_fail "uninstalling left behind: $leftovers"
    [[ -f "$catalogue" && -f "$ini" ]] || e2e_fail "uninstalling took the user's catalogue or settings"
fi
e2e_log "passed"
