#!/usr/bin/env bash
# Checks of what the desktop and the package manager see of Reelkeeper.
#
# usage: packaging_test.sh desktop-entry <source folder>
#        packaging_test.sh icon <source folder> <build folder>
#        packaging_test.sh metainfo <source folder> <application id> <version>
#        packaging_test.sh man <man page folder> <program folder> <program>...
#        packaging_test.sh completion <completion script> <program>
#        packaging_test.sh deb <build folder> <package folder>
#        packaging_test.sh readme <source folder> <command-line program>
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

# The AppStream metadata that software centres read: valid, named by the
# application id, its newest release the project's version.
metainfo() {
    local metainfo="$1/packaging/reelkeeper.metainfo.xml" id=$2 version=$3 newest
    require appstreamcli appstream
    appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $metainfo"
    grep -qF "<id>$id</id>" "$metainfo" || fail "the metadata's id is not $id"
    grep -qF "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
        fail "the metadata does not launch the desktop entry $id.desktop"
    newest=$(grep -m 1 -o '<release version="[^"]*"' "$metainfo" | cut -d '"' -f 2)
    [[ "$newest" == "$version" ]] || fail "the newest release is '$newest', not $version"
}

# The manual pages render without warnings and name every command and every
# option that the program's own --help (and each command's) names.
man_pages() {
    local folder=$1 programs=$2 name page warnings text help command usage option section
    shift 2
    require man man-db
    for name in "$@"; do
        page="$folder/$name.1.gz"
        [[ -f "$page" ]] || fail "$page was not made"
        warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
        [[ -z "$warnings" ]] || fail "$name(1) renders with warnings: $warnings"
        text=$(MANWIDTH=80 man -l "$page" 2>/dev/null)
        help=$("$programs/$name" --help)
        for command in $(sed -n '/^Commands:$/,/^$/ s/^  *\([a-z][a-z0-9-]*\)  .*/\1/p' <<<"$help"); do
            usage=$("$programs/$name" "$command" --help)
            help+=$'\n'$usage
            usage=$(sed -n '1s/^Usage: //p' <<<"$usage")
            grep -qF -- "$usage" <<<"$text" || fail "$name(1) does not show '$usage'"
        done
        for option in $(grep -oE -- '--[a-z][a-z-]*' <<<"$help" | sort -u); do
            grep -qF -- "$option" <<<"$text" || fail "$name(1) does not mention $option"
        done
        for section in SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" FILES EXAMPLES; do
            grep -qx "$section" <<<"$text" || fail "$name(1) has no $section section"
        done
    done
}

# The bash completion offers every command and option the program's --help
# names, and file names where a path belongs.
completion() {
    local script=$1 program=$2 name command option offered options
    name=$(basename "$program")
    scratch=$(mktemp -d)
    touch "$scratch/movies.mdb"
    # offers <word>...: what completing the last word offers, one per line.
    offers() {
        bash -c 'source "$1"; shift
            COMP_WORDS=("$@") COMP_CWORD=$(($# - 1))
            $(complete -p "$1" | sed -E "s/.*-F ([^ ]+).*/\1/")
            printf "%s\n" "${COMPREPLY[@]}"' _ "$script" "$name" "$@"
    }
    offered=$(offers "")
    grep -qx list <<<"$offered" || fail "'$name <TAB>' does not offer list"
    for command in "" $offered; do
        "$program" $command --help >/dev/null || fail "'$name $command --help' fails"
        options=$(offers $command --)
        for option in $("$program" $command --help | grep -oE -- '^ +(-., )?--[a-z][a-z-]*' |
            grep -oE -- '--[a-z-]+'); do
            grep -qx -- "$option" <<<"$options" || fail "'$name $command --<TAB>' lacks $option"
        done
    done
    grep -qxF "$scratch/movies.mdb" <<<"$(offers list --catalogue "$scratch/mov")" ||
        fail "'$name list --catalogue <TAB>' does not offer file names"
    # Actions, and only the files a command takes (folders to reach them);
    # no file for a title.
    touch "$scratch/list.csv" "$scratch/list.ODS" "$scratch/notes.pdf"
    mkdir "$scratch/sub"
    # "<words before>|<word completed>|<offers, sorted>"
    local c before current wanted words cases=(
        "cover||get remove set"
        "cover set 1|$scratch/|$scratch/list.ODS $scratch/list.csv $scratch/movies.mdb $scratch/notes.pdf $scratch/sub"
        "import|$scratch/|$scratch/list.ODS $scratch/list.csv $scratch/sub"
        "import --sheet x|$scratch/|$scratch/list.ODS $scratch/list.csv $scratch/sub"
        "restore|$scratch/|$scratch/movies.mdb $scratch/sub"
        "lookup|$scratch/|"
        "lookup --year 1942|$scratch/|"
    )
    for c in "${cases[@]}"; do
        IFS='|' read -r before current wanted <<<"$c"
        read -ra words <<<"$before"
        offered=$(offers "${words[@]}" "$current" | LC_ALL=C sort | paste -sd ' ')
        [[ "$offered" == "$wanted" ]] || fail "'$name $before $current<TAB>' offers '$offered', not '$wanted'"
    done
}

# The README shows every command that the command-line program's --help lists.
readme() {
    local readme="$1/README.md" program=$2 name commands command
    name=$(basename "$program")
    commands=$(sed -n '/^Commands:$/,/^$/ s/^  *\([a-z][a-z0-9-]*\)  .*/\1/p' <<<"$("$program" --help)")
    [[ -n "$commands" ]] || fail "'$name --help' lists no commands"
    for command in $commands; do
        grep -qE -- "$name( --catalogue [^ ]+)? $command([^a-z0-9-]|$)" "$readme" ||
            fail "README.md does not show '$name $command'"
    done
}

# The Debian package built by CPack from the install rules, left in the
# package folder for the end-to-end test that installs it.
deb() {
    local build=$1 out=$2 package listing
    require cpack cmake
    require dpkg-deb dpkg
    require dpkg-shlibdeps dpkg-dev
    require lintian lintian
    require appstreamcli appstream
    scratch=$(mktemp -d)
    rm -rf "$out"
    (cd "$build" && cpack -G DEB -B "$out" >"$scratch/cpack.log" 2>&1) ||
        fail "cpack failed: $(tail -n 20 "$scratch/cpack.log")"
    rm -rf "$out/_CPack_Packages"
    package=$(ls "$out"/reelkeeper_*.deb 2>/dev/null | head -n 1)
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
        "./usr/share/applications/example.tarnwick.reelkeeper.desktop"
        "./usr/share/metainfo/example.tarnwick.reelkeeper.metainfo.xml"
        "./usr/share/icons/hicolor/scalable/apps/reelkeeper.svg"
        "./usr/share/man/man1/reelkeeper.1.gz"
        "./usr/share/man/man1/reelkeeper-cli.1.gz"
        "./usr/share/bash-completion/completions/reelkeeper-cli"
        "./usr/share/doc/reelkeeper/copyright"
        "./usr/share/doc/reelkeeper/changelog.Debian.gz"
        "./usr/share/lintian/overrides/reelkeeper"
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
        -e '^\./usr/share/icons/hicolor/' -e '^\./usr/share/metainfo/' -e '^\./usr/share/man/' \
        -e '^\./usr/share/doc/reelkeeper/' -e '^\./usr/share/lintian/' \
        -e '^\./usr/share/bash-completion/' \
        -e '^\./usr/$' -e '^\./usr/lib/$' -e '^\./usr/share/$' -e '^\./usr/share/icons/$' \
        -e '^\./usr/share/doc/$' <<<"$listing" >"$scratch/extra"; then
        fail "the package holds unexpected files: $(cat "$scratch/extra")"
    fi

    # The version is the one the Debian changelog's newest entry names.
    dpkg-deb --fsys-tarfile "$package" |
        tar -xOf - ./usr/share/doc/reelkeeper/changelog.Debian.gz | gunzip >"$scratch/changelog"
    [[ "$(dpkg-parsechangelog -l "$scratch/changelog" -S Version)" == \
        "$(dpkg-deb -f "$package" Version)" ]] || fail "the package version is not the changelog's"
    # Debian's own checker: no errors, no warnings (overrides carry their reasons).
    lintian --fail-on error,warning "$package" >"$scratch/lintian.log" 2>&1 ||
        fail "lintian finds fault with the package: $(cat "$scratch/lintian.log")"
    # The metadata, desktop entry and icon as a software centre finds them.
    dpkg-deb -x "$package" "$scratch/tree"
    appstreamcli validate-tree --no-net "$scratch/tree" ||
        fail "appstreamcli rejects the installed metadata"
}

case ${1:-} in
desktop-entry) desktop_entry "$2" ;;
icon) icon "$2" "$3" ;;
metainfo) metainfo "$2" "$3" "$4" ;;
man) man_pages "${@:2}" ;;
completion) completion "$2" "$3" ;;
deb) deb "$2" "$3" ;;
readme) readme "$2" "$3" ;;
*) fail "unknown check ${1:-}" ;;
esac
echo "passed"
