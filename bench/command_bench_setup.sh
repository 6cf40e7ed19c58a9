# Sourced by the command benchmarks once they have set $build: checks that
# sqlite3 and hyperfine are there and that the build holds reelkeeper-cli and
# the template catalogue, sets $cli and $template, and makes the scratch
# folder $scratch, removed when the benchmark ends.
cli="$build/bin/reelkeeper-cli"
template="$build/bin/dbDVD.mdb"
for tool in sqlite3 hyperfine; do
    command -v "$tool" >/dev/null || {
        echo "$tool is missing (scripts/install-deps.sh test installs it)" >&2
        exit 1
    }
done
[[ -x "$cli" && -f "$template" ]] || {
    echo "no reelkeeper-cli and template catalogue in $build/bin" >&2
    exit 1
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
