#pragma once

// The table that ties a movie to the film it was filled from in a film
// database, one row per movie and source, and the trigger that removes a
// movie's links with it (as its cover goes with it).
namespace LookupLinkSchema {

inline constexpr char kTable[] = "create table if not exists lookup_link ("
                                 "id integer not null, source text not null,"
                                 " source_id text not null, imdb_id text not null default '',"
                                 " tmdb_id text not null default '', fetched text not null,"
                                 " primary key (id, source))";
inline constexpr char kTrigger[] = "create trigger if not exists lookup_link_follows_dvd"
                                   " after delete on dvd begin"
                                   " delete from lookup_link where id = old.id; end";

} // namespace LookupLinkSchema
