#!/usr/bin/env bash
# The real program on a 192 dpi X screen (Xft.dpi 192, as desktops set it):
# the main window has the same physical size as at 96 dpi, so twice the
# screen pixels (12240 x 6135 twips = 1632 x 818 pixels), both with Qt's
# high-dpi scaling (device pixel ratio 2) and without it (logical dpi 192).
#
# usage: high_dpi_test.sh <name> <artifact folder> <executable>
set -euo pipefail
source "$(dirname "$0")/x_session.sh"

name=$1 artifacts=$2 program=$3
E2E_SCREEN=2560x1600x24 e2e_begin "$name" "$artifacts" -dpi 192
e2e_require xrdb x11-xserver-utils
echo "Xft.dpi: 192" | xrdb -nocpp -merge

px192() { echo $((($1 * 192 + 720) / 1440)); }
expected="$(px192 12240) $(px192 6135)"

for scaling in 1 0; do
    e2e_start env QT_ENABLE_HIGHDPI_SCALING=$scaling "$program"
    e2e_main_window
    size=$(e2e_client_size "$E2E_MAIN")
    [[ "$size" == "$expected" ]] ||
        e2e_fail "with QT_ENABLE_HIGHDPI_SCALING=$scaling the window is $size pixels, not $expected"
    e2e_close "$E2E_MAIN"
done
e2e_log "passed"
