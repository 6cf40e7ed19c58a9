# Shared by the end-to-end tests (sourced, not run): a private X server with
# a window manager, fresh data and config homes, and helpers that drive the
# program from outside as a person would, with xdotool, xclip and wmctrl.
#
# A test sources this file, calls e2e_begin <name> <artifact folder> and
# then uses the helpers; any failure ends it through e2e_fail, which keeps a
# screenshot and the program's output in the artifact folder. The test skips
# itself (exit 77) only when Xvfb cannot run at all.

set -euo pipefail

readonly E2E_SKIP=77
readonly E2E_WAIT_SECONDS=${E2E_WAIT_SECONDS:-60}

E2E_NAME=""
E2E_ARTIFACTS=""
E2E_TMP=""
E2E_XVFB_PID=""
E2E_BUS_PID=""
E2E_WM_PID=""
E2E_PROGRAM_PID=""
E2E_PROGRAM_LOG=""
E2E_RUNS=0
E2E_MAIN=""   # the main window, set by e2e_main_window
E2E_DIALOG="" # the latest message box, set by e2e_dialog_window

e2e_log() { printf '[%s] %s\n' "$E2E_NAME" "$*" >&2; }

e2e_skip() {
    e2e_log "SKIPPED: $*"
    exit "$E2E_SKIP"
}

e2e_fail() {
    e2e_log "FAILED: $*"
    if [[ -n "$E2E_ARTIFACTS" ]]; then
        mkdir -p "$E2E_ARTIFACTS"
        if [[ -n "${DISPLAY:-}" && -n "$E2E_XVFB_PID" ]] &&
            import -window root "$E2E_ARTIFACTS/$E2E_NAME.png" 2>/dev/null; then
            e2e_log "screenshot: $E2E_ARTIFACTS/$E2E_NAME.png"
        fi
        if [[ -n "$E2E_TMP" && -d "$E2E_TMP" ]]; then
            rm -rf "$E2E_ARTIFACTS/$E2E_NAME"
            cp -r "$E2E_TMP" "$E2E_ARTIFACTS/$E2E_NAME" 2>/dev/null || true
            e2e_log "data, settings and program output: $E2E_ARTIFACTS/$E2E_NAME"
        fi
    fi
    if [[ -n "$E2E_PROGRAM_LOG" && -s "$E2E_PROGRAM_LOG" ]]; then
        e2e_log "program output:"
        sed 's/^/    /' "$E2E_PROGRAM_LOG" >&2
    fi
    exit 1
}

e2e_require() {
    local tool=$1 package=$2
    command -v "$tool" >/dev/null 2>&1 ||
        e2e_fail "$tool is missing (Debian package $package; scripts/install-deps.sh test installs it)"
}

# e2e_wait_until <what> <command...>: polls the command until it succeeds.
e2e_wait_until() {
    local what=$1
    shift
    local deadline=$((SECONDS + E2E_WAIT_SECONDS))
    until "$@" >/dev/null 2>&1; do
        ((SECONDS < deadline)) || e2e_fail "gave up waiting for $what"
        sleep 0.1
    done
}

e2e_cleanup() {
    local pid
    for pid in "$E2E_PROGRAM_PID" "$E2E_WM_PID" "$E2E_BUS_PID" "$E2E_XVFB_PID"; do
        if [[ -n "$pid" ]] && kill -0 "$pid" 2>/dev/null; then
            kill "$pid" 2>/dev/null || true
            wait "$pid" 2>/dev/null || true
        fi
    done
    [[ -n "$E2E_TMP" ]] && rm -rf "$E2E_TMP"
    return 0
}

# e2e_begin <name> <artifact folder> [Xvfb options...]: fresh homes, an X
# server on a free display, a session bus and a window manager.
e2e_begin() {
    E2E_NAME=$1
    E2E_ARTIFACTS=$2
    shift 2
    command -v Xvfb >/dev/null 2>&1 || e2e_skip "Xvfb is not installed, so there is no X server to test in"
    e2e_require xdotool xdotool
    e2e_require xclip xclip
    e2e_require wmctrl wmctrl
    e2e_require openbox openbox
    e2e_require xprop x11-utils
    e2e_require xwininfo x11-utils
    e2e_require import imagemagick
    e2e_require sqlite3 sqlite3
    e2e_require dbus-daemon dbus-daemon

    E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/reelkeeper-e2e.XXXXXX")
    trap e2e_cleanup EXIT
    mkdir -p "$E2E_TMP"/{home,data,config,cache,runtime}
    chmod 700 "$E2E_TMP/runtime"
    export HOME="$E2E_TMP/home"
    export XDG_DATA_HOME="$E2E_TMP/data"
    export XDG_CONFIG_HOME="$E2E_TMP/config"
    export XDG_CACHE_HOME="$E2E_TMP/cache"
    export XDG_RUNTIME_DIR="$E2E_TMP/runtime"
    unset WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS SESSION_MANAGER
    export QT_QPA_PLATFORM=xcb
    export NO_AT_BRIDGE=1

    local display_file="$E2E_TMP/display"
    Xvfb -displayfd 3 -screen 0 "${E2E_SCREEN:-1280x800x24}" -nolisten tcp -noreset "$@" \
        3>"$display_file" >"$E2E_TMP/xvfb.log" 2>&1 &
    E2E_XVFB_PID=$!
    local deadline=$((SECONDS + 20))
    until [[ -s "$display_file" ]]; do
        if ! kill -0 "$E2E_XVFB_PID" 2>/dev/null || ((SECONDS >= deadline)); then
            local why
            why=$(tail -n 5 "$E2E_TMP/xvfb.log" 2>/dev/null || true)
            E2E_XVFB_PID=""
            e2e_skip "Xvfb cannot run here: ${why:-no display after 20 seconds}"
        fi
        sleep 0.1
    done
    export DISPLAY=":$(head -n 1 "$display_file")"

    # A session bus of its own, as every desktop session has one.
    local bus_file="$E2E_TMP/bus"
    dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$bus_file" \
        >"$E2E_TMP/dbus.log" 2>&1 &
    E2E_BUS_PID=$!
    e2e_wait_until "the session bus" test -s "$bus_file"
    DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$bus_file")
    export DBUS_SESSION_BUS_ADDRESS

    openbox --sm-disable >"$E2E_TMP/openbox.log" 2>&1 &
    E2E_WM_PID=$!
    e2e_wait_until "the window manager" e2e_wm_running
}

e2e_wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }

# e2e_start <command...>: starts the program with its output in a log.
e2e_start() {
    E2E_RUNS=$((E2E_RUNS + 1))
    E2E_PROGRAM_LOG="$E2E_TMP/program-$E2E_RUNS.log"
    "$@" >"$E2E_PROGRAM_LOG" 2>&1 &
    E2E_PROGRAM_PID=$!
}

# The program's visible top-level windows whose title is "Reelkeeper".
e2e_windows() { xdotool search --all --onlyvisible --pid "$E2E_PROGRAM_PID" --name '^Reelkeeper$' 2>/dev/null || true; }

e2e_window_type() { xprop -id "$1" _NET_WM_WINDOW_TYPE 2>/dev/null | sed -n 's/.*= //p'; }

# e2e_main_window: waits for the main window and sets E2E_MAIN. A box shown
# instead (an error report, a missing template) fails the test.
e2e_main_window() {
    local deadline=$((SECONDS + E2E_WAIT_SECONDS)) wid
    while ((SECONDS < deadline)); do
        kill -0 "$E2E_PROGRAM_PID" 2>/dev/null || e2e_fail "the program ended before its window showed"
        for wid in $(e2e_windows); do
            case "$(e2e_window_type "$wid")" in
            *_NET_WM_WINDOW_TYPE_NORMAL*)
                E2E_MAIN=$wid
                return 0
                ;;
            *_NET_WM_WINDOW_TYPE_DIALOG*)
                e2e_fail "a message box showed at start-up"
                ;;
            esac
        done
        if [[ -n "$(xdotool search --all --onlyvisible --pid "$E2E_PROGRAM_PID" --name 'Application Error' 2>/dev/null)" ]]; then
            e2e_fail "an error report showed at start-up"
        fi
        sleep 0.1
    done
    e2e_fail "no main window after $E2E_WAIT_SECONDS seconds"
}

# e2e_dialog_window: waits for a box of the program and sets E2E_DIALOG.
e2e_dialog_window() {
    local main=$E2E_MAIN deadline=$((SECONDS + E2E_WAIT_SECONDS)) wid
    while ((SECONDS < deadline)); do
        for wid in $(xdotool search --all --onlyvisible --pid "$E2E_PROGRAM_PID" --name '.' 2>/dev/null); do
            if [[ "$wid" != "$main" && "$(e2e_window_type "$wid")" == *_NET_WM_WINDOW_TYPE_DIALOG* ]]; then
                E2E_DIALOG=$wid
                return 0
            fi
        done
        sleep 0.1
    done
    e2e_fail "no message box after $E2E_WAIT_SECONDS seconds"
}

e2e_window_gone() { ! xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable'; }

# e2e_close <window>: the window manager's close request (WM_DELETE_WINDOW),
# then waits for the program to end and checks that it ended cleanly.
e2e_close() {
    wmctrl -i -c "$1"
    local deadline=$((SECONDS + E2E_WAIT_SECONDS))
    while kill -0 "$E2E_PROGRAM_PID" 2>/dev/null; do
        ((SECONDS < deadline)) || e2e_fail "the program did not end after the close request"
        sleep 0.1
    done
    local status=0
    wait "$E2E_PROGRAM_PID" || status=$?
    E2E_PROGRAM_PID=""
    ((status == 0)) || e2e_fail "the program ended with status $status"
    if grep -qE 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$E2E_PROGRAM_LOG"; then
        e2e_fail "the sanitizers reported a fault"
    fi
}

# Window geometry: the client area's size in screen pixels, "W H".
e2e_client_size() {
    xwininfo -id "$1" | awk '/^  Width:/ {w = $2} /^  Height:/ {h = $2} END {print w, h}'
}

e2e_is_maximized() {
    local state
    state=$(xprop -id "$1" _NET_WM_STATE)
    [[ "$state" == *_NET_WM_STATE_MAXIMIZED_VERT* && "$state" == *_NET_WM_STATE_MAXIMIZED_HORZ* ]]
}

# Twips to pixels at 96 dpi, as the program lays itself out on a plain screen.
e2e_px() { echo $((($1 * 96 + 720) / 1440)); }

# e2e_click <window> <x> <y>: a left click at client coordinates.
e2e_click() {
    xdotool mousemove --window "$1" "$2" "$3"
    sleep 0.1
    xdotool click 1
}

# e2e_drag <window> <x1> <y> <x2>: a horizontal drag with the left button.
e2e_drag() {
    local wid=$1 x1=$2 y=$3 x2=$4 step
    xdotool mousemove --window "$wid" "$x1" "$y"
    sleep 0.2
    xdotool mousedown 1
    for step in 1 2 3 4 5; do
        xdotool mousemove --window "$wid" $((x1 + (x2 - x1) * step / 5)) "$y"
        sleep 0.05
    done
    xdotool mouseup 1
    sleep 0.2
}

# e2e_setting <ini file> <key>: a value of the [Reelkeeper] section.
e2e_setting() {
    awk -F= -v key="$2" '
        /^\[/ { section = $0; next }
        section == "[Reelkeeper]" && $1 == key { sub(/^[^=]*=/, ""); print; found = 1 }
        END { exit !found }' "$1"
}

# e2e_check_icon <window> <png>: the window's 32x32 icon (_NET_WM_ICON) has
# exactly the pixels of the given PNG.
e2e_check_icon() {
    local shown wanted
    shown=$(xprop -id "$1" -notype 32c _NET_WM_ICON | sed 's/^[^=]*= //' | tr -d ' ' | tr ',' '\n' |
        awk '{ v[NR] = $1 }
             END { i = 1
                   while (i < NR) {
                       if (v[i] == 32 && v[i + 1] == 32) {
                           for (j = 0; j < 1024; j++) printf "%.0f\n", v[i + 2 + j]
                           exit
                       }
                       i += 2 + v[i] * v[i + 1]
                   } }')
    [[ -n "$shown" ]] || e2e_fail "the window shows no 32x32 icon"
    wanted=$(convert "$2" -depth 8 RGBA:- | od -An -v -tu1 -w4 |
        awk '{ printf "%.0f\n", $4 * 16777216 + $1 * 65536 + $2 * 256 + $3 }')
    [[ "$shown" == "$wanted" ]] || e2e_fail "the window's icon is not $2"
}
