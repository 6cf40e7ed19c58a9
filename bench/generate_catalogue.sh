# Sourced by the side-by-side scripts: writes generated movies into a copy of
# the template catalogue with one recursive statement of the sqlite3 shell,
# the fastest way to a catalogue of millions.
#
# generate_catalogue <template> <target file> <number of movies>
generate_catalogue() {
    local template=$1 target=$2 movies=$3
    cp "$template" "$target"
    # Movies shaped like the other benchmarks' (bench/generated_catalogue.cpp).
    sqlite3 "$target" "
with recursive n(i) as (select 0 union all select i + 1 from n where i < $movies - 1)
insert into dvd (title, year, genre, cast, director, runtime, rating, studio)
select 'Movie ' || (abs(random()) % 1000000) || ' of the ' || (i % 97) || ' collection',
       1920 + abs(random()) % 100,
       json_extract('[\"Drama\",\"Comedy\",\"Action\",\"Thriller\",\"Documentary\"]',
                    '\$[' || (abs(random()) % 5) || ']'),
       'Actor ' || (abs(random()) % 5000) || ', Actress ' || (abs(random()) % 5000),
       'Director ' || (abs(random()) % 3000),
       (1 + abs(random()) % 3) || ':' || printf('%02d', abs(random()) % 60),
       json_extract('[\"G\",\"PG\",\"PG-13\",\"R\"]', '\$[' || (abs(random()) % 4) || ']'),
       'Studio ' || (abs(random()) % 200)
from n;"
}

# cached_catalogue <build folder> <number of movies>: prints the path of a
# generated catalogue kept in the build folder, generating it on first use.
cached_catalogue() {
    local build=$1 movies=$2
    local file="$build/bench/generated-$movies.mdb"
    if [[ ! -f "$file" ]]; then
        mkdir -p "$build/bench"
        generate_catalogue "$build/bin/dbDVD.mdb" "$file.part" "$movies"
        mv "$file.part" "$file"
    fi
    echo "$file"
}
