#!/usr/bin/env bash
# Stands in for a program with commands when help2man asks for its --help:
# the program's own help with its commands as a section of their own, each
# followed by that command's own help (usage, description, options) as a
# subsection, so that the manual page documents every command as the
# program itself describes it. --version goes to the program.
#
# usage: help_with_commands.sh <program> --help|--version
set -euo pipefail
program=$1
shift
[[ ${1:-} == --help ]] || exec "$program" "$@"

help=$("$program" --help)
# help2man starts a section of its own at a line "*Name*".
sed 's/^Commands:$/*Commands*/' <<<"$help"
for command in $(sed -n '/^Commands:$/,/^$/ s/^  *\([a-z][a-z0-9-]*\)  .*/\1/p' <<<"$help"); do
    # A subsection is a title with a trailing colon and an indented line
    # below it: the command's usage. Its options stay in its subsection.
    echo
    "$program" "$command" --help | awk -v command="$command" '
        NR == 1 { sub(/^Usage: /, ""); print "The " command " command:"; print "  " $0; next }
        /^Options:$/ { next }
        { print }'
done
