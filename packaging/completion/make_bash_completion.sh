#!/usr/bin/env bash
# Writes the bash completion of a command-line program from the program's
# own --help, so that the completion offers exactly what the program takes.
# It reads the options of the program (lines "  [-x, ]--name [<value>]") and
# its commands (the lines under "Commands:"), then each command's options
# from "<program> <command> --help". Options whose value is a path, file,
# folder or catalogue complete file names; so do the words after a command
# whose usage line names a FILE argument (a TITLE is typed). A first argument
# written "a|b|c" offers those words; a help line "FILE is a .x or .y file."
# narrows the file names to those extensions (and folders).
#
# usage: make_bash_completion.sh <program> <command name> <output file>
set -euo pipefail
program=$1 name=$2 out=$3

help_of() { "$program" "$@" --help 2>/dev/null || true; }

# Long option names, with "=<value name>" for options that take a value.
options_in() {
    grep -oE '^ +(-[[:alnum:]], )?--[a-z][a-z0-9-]*( <[^>]+>)?' |
        sed -E 's/^ +(-[[:alnum:]], )?//; s/ <([^>]+)>/=\1/' || true
}
commands_in() {
    sed -n '/^\(Available \)\{0,1\}[Cc]ommands:$/,/^$/ s/^  *\([a-z][a-z0-9-]*\)\( .*\)\{0,1\}$/\1/p'
}
# The option names alone, on one line.
names() { sed 's/=.*//' | sort -u | tr '\n' ' ' | sed 's/ $//'; }

top=$(help_of)
top_options=$(options_in <<<"$top")
commands=$(commands_in <<<"$top" | tr '\n' ' ' | sed 's/ $//')
[[ -n "$top_options" ]] || {
    echo "make_bash_completion.sh: '$program --help' names no options" >&2
    exit 1
}

all_options=$top_options
command_cases=""
for command in $commands; do
    command_help=$(help_of "$command")
    own=$(options_in <<<"$command_help")
    all_options+=$'\n'$own
    # "Usage: <program> <command> [options] <file>": arguments besides the options.
    usage=$(sed -n "1s/^Usage: .* $command//p" <<<"$command_help" | sed 's/\[options\]//')
    arguments=$(tr -d ' ' <<<"$usage")
    [[ $arguments == *FILE* ]] || arguments=""
    # "set|get|remove ID [FILE]": the first argument is one of those words.
    actions=$(awk '$1 ~ /\|/ { gsub(/\|/, " ", $1); print $1 }' <<<"$usage")
    # "FILE is a .csv or .ods file.": the extensions, as "csv|ods".
    kinds=$(grep -m 1 -E '^FILE is a .* file\.$' <<<"$command_help" | grep -oE '\.[[:alnum:]]+' |
        sed 's/^\.//' | paste -sd '|' || true)
    command_cases+="    $command) options=\"$(names <<<"$own")\" arguments=${arguments:+files}"
    command_cases+=" actions=\"$actions\" kinds=\"$kinds\" ;;"$'\n'
done
# Options whose value names a file or folder, and all options that take a value.
path_options=$(grep -iE '=.*(path|file|folder|dir|catalogue)' <<<"$all_options" | names || true)
value_options=$(grep '=' <<<"$all_options" | names || true)
function_name="_${name//-/_}_complete"

cat >"$out.new" <<EOF
# Bash completion for $name, made from '$name --help' when $name was built.

$function_name() {
    local cur=\${COMP_WORDS[COMP_CWORD]} prev="" command="" options arguments="" i at=0
    local actions="" kinds="" position=0 file
    ((COMP_CWORD > 0)) && prev=\${COMP_WORDS[COMP_CWORD - 1]}
    local commands="$commands"
    local path_options="$path_options"
    local value_options="$value_options"
    # The command is the first word that is neither an option nor an option's value.
    for ((i = 1; i < COMP_CWORD; i++)); do
        [[ \${COMP_WORDS[i]} == -* || " \$value_options " == *" \${COMP_WORDS[i - 1]} "* ]] ||
            { command=\${COMP_WORDS[i]} at=\$i; break; }
    done
    # Which of the command's arguments the word being completed is (1 for the first).
    for ((i = at + 1; at > 0 && i <= COMP_CWORD; i++)); do
        [[ \${COMP_WORDS[i]} == -* || " \$value_options " == *" \${COMP_WORDS[i - 1]} "* ]] ||
            ((position++))
    done
    if [[ " \$path_options " == *" \$prev "* ]]; then
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -f -- "\$cur")
        return
    fi
    [[ " \$value_options " != *" \$prev "* ]] || return 0
    case \$command in
    "") options="$(names <<<"$top_options")" ;;
$command_cases    *) options="" ;;
    esac
    if [[ \$cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "\$options" -- "\$cur")
    elif [[ -z \$command && -n \$commands ]]; then
        mapfile -t COMPREPLY < <(compgen -W "\$commands" -- "\$cur")
    elif [[ -n \$actions && \$position == 1 ]]; then
        mapfile -t COMPREPLY < <(compgen -W "\$actions" -- "\$cur")
    elif [[ \$arguments == files ]]; then
        compopt -o filenames 2>/dev/null
        COMPREPLY=()
        while IFS= read -r file; do
            [[ -z \$kinds || -d \$file || \${file,,} =~ \.(\$kinds)\$ ]] && COMPREPLY+=("\$file")
        done < <(compgen -f -- "\$cur")
    elif [[ -n \$command ]]; then
        mapfile -t COMPREPLY < <(compgen -W "\$options" -- "\$cur")
    fi
}
complete -F $function_name $name
EOF
mv "$out.new" "$out"
