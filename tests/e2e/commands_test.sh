#!/usr/bin/env bash
# The catalogue and clipboard commands of the real program, driven from
# outside: "Load Sample/Example Data" stores the three example movies; the
# Help button answers its access key; a row found by typing its title and
# ticked with Space is what "Copy Movies To Clipboard" puts on the
# clipboard, as one blank-padded, tab-separated line; after Ctrl+F and a
# word, the copy takes only the movies the list shows; a change made by
# another program shows in the list, the ticks kept.
#
# usage: commands_test.sh <name> <artifact folder> <executable> <32x32 icon>
set -euo pipefail
source "$(dirname "$0")/x_session.sh"

name=$1 artifacts=$2 program=$3 icon=$4
e2e_begin "$name" "$artifacts"

catalogue="$XDG_DATA_HOME/Tarnwick/Reelkeeper/dbDVD.mdb"

# Centre of a button of the fixed layout (twips: left top width height), at 96 dpi.
button_centre() { echo "$(e2e_px $(($1 + $3 / 2))) $(e2e_px $(($2 + $4 / 2)))"; }
load_examples=$(button_centre 9000 5130 3120 405)
copy_to_clipboard=$(button_centre 5880 5625 3000 405)
# An empty spot of the list, below its few rows.
list_blank="$(e2e_px 6000) $(e2e_px 4000)"

movie_count() { sqlite3 "$catalogue" 'select count(*) from dvd'; }
has_movies() { [[ "$(movie_count)" == "$1" ]]; }

e2e_start "$program"
e2e_main_window
main=$E2E_MAIN

# --- Load Sample/Example Data: the three movies land in the catalogue file.
# shellcheck disable=SC2086
e2e_click "$main" $load_examples
e2e_wait_until "three movies in the catalogue" has_movies 3
expected_rows=$'Titanic|1995|Drama|L. DiCaprio, K. Winslett|J. Cameron|3:14|R|20CF
Casablanca|1942|Drama|Humphrey Bogart, Ingrid Bergman|Michael Curtiz|1:43|R|Warner
The Seven Year Itch|1955|Comedy|Marilyn Monroe, Tom Ewell|Billy Wilder|1:45|R|20CF'
rows=$(sqlite3 "$catalogue" \
    'select title, year, genre, [cast], director, runtime, rating, studio from dvd order by id')
[[ "$rows" == "$expected_rows" ]] || e2e_fail "the catalogue holds"$'\n'"$rows"

# --- Alt+H presses Help: its box shows, with the program's icon, and
# Escape closes it.
xdotool windowactivate --sync "$main"
xdotool key alt+h
e2e_dialog_window
help_box=$E2E_DIALOG
e2e_check_icon "$help_box" "$icon"
xdotool windowactivate --sync "$help_box"
xdotool key Escape
e2e_wait_until "the help box to close" e2e_window_gone "$help_box"

# Presses "Copy Movies To Clipboard", closes its message and checks that the
# clipboard holds exactly the text given.
copy_and_expect() {
    printf '%s' "$1" >"$E2E_TMP/expected-clipboard"
    # shellcheck disable=SC2086
    e2e_click "$main" $copy_to_clipboard
    e2e_dialog_window
    local copied_box=$E2E_DIALOG
    xdotool windowactivate --sync "$copied_box"
    xdotool key Return
    e2e_wait_until "the copied message to close" e2e_window_gone "$copied_box"
    xclip -o -selection clipboard -t UTF8_STRING >"$E2E_TMP/clipboard" 2>"$E2E_TMP/xclip.log" ||
        e2e_fail "the clipboard holds no text: $(cat "$E2E_TMP/xclip.log")"
    if ! cmp -s "$E2E_TMP/expected-clipboard" "$E2E_TMP/clipboard"; then
        e2e_fail "the clipboard holds"$'\n'"$(od -c "$E2E_TMP/clipboard")"$'\n'"instead of"$'\n'"$(od -c "$E2E_TMP/expected-clipboard")"
    fi
}

# --- Type "Casa" in the list to find Casablanca, tick it with Space, copy.
# shellcheck disable=SC2086
e2e_click "$main" $list_blank
xdotool type --delay 60 "Casa"
sleep 1 # a pause ends the typed title, so Space ticks instead of searching on
xdotool key space
# Widths over all three rows: id 1, title 19, year 4, genre 6, cast 31,
# director 14, runtime 4, rating 1, studio 6; trailing blanks dropped.
copy_and_expect $'2\tCasablanca         \t1942\tDrama \tHumphrey Bogart, Ingrid Bergman\tMichael Curtiz\t1:43\tR\tWarner\r\n'

# --- Ctrl+F and "comedy": only The Seven Year Itch shows. Down goes on to
# it, Space ticks it, and the copy takes the shown rows alone (Casablanca,
# still ticked, is hidden), padded as if the list held nothing else.
xdotool windowactivate --sync "$main"
xdotool key ctrl+f
xdotool type --delay 60 "comedy"
xdotool key Down
sleep 1
xdotool key space
copy_and_expect $'3\tThe Seven Year Itch\t1955\tComedy\tMarilyn Monroe, Tom Ewell\tBilly Wilder\t1:45\tR\t20CF\r\n'
# Escape closes the bar (the focus is back in the list after the message).
xdotool windowactivate --sync "$main"
xdotool key Escape

# --- Another program changes a movie while the window is open: the list
# shows the change within a few seconds and keeps both ticks.
sqlite3 "$catalogue" "update dvd set year = '1956' where title = 'The Seven Year Itch'"
sleep 6
copy_and_expect $'2\tCasablanca         \t1942\tDrama \tHumphrey Bogart, Ingrid Bergman\tMichael Curtiz\t1:43\tR\tWarner\r\n3\tThe Seven Year Itch\t1956\tComedy\tMarilyn Monroe, Tom Ewell      \tBilly Wilder  \t1:45\tR\t20CF\r\n'

# Nothing else changed the catalogue; closing still ends the program cleanly.
has_movies 3 || e2e_fail "the catalogue holds $(movie_count) movies after copying"
e2e_close "$main"
e2e_log "passed"
