#pragma once

// The cover table and the trigger that keeps it in step with the movies.
// The trigger runs for every deleted movie row, so the statements that
// delete one movie or clear the catalogue remove the covers too and leave
// no cover without its movie.
namespace CoverSchema {

inline constexpr char kTable[] = "create table if not exists cover ("
                                 "id integer primary key, width integer not null,"
                                 " height integer not null, format text not null,"
                                 " image blob not null)";
inline constexpr char kTrigger[] = "create trigger if not exists cover_follows_dvd"
                                   " after delete on dvd begin"
                                   " delete from cover where id = old.id; end";

} // namespace CoverSchema
