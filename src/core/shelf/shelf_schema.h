#pragma once

// The shelf's tables beside the movies: the copies of each movie, the sets
// (box sets and series) and their members in order. Triggers keep them in
// step with the movies: a deleted movie takes its copies and its places in
// sets with it, a deleted set its members, and a deleted copy leaves the set
// it was in holding its movie alone. Copy and set ids are never given again.
namespace ShelfSchema {

inline constexpr char kCopyTable[] =
    "create table if not exists shelf_copy ("
    "id integer primary key autoincrement, movie_id integer not null,"
    " format text not null, edition text not null default '',"
    " barcode text not null default '', discs integer not null default 0,"
    " location text not null default '', acquired text not null default '',"
    " price text not null default '', currency text not null default '',"
    " condition text not null default '', note text not null default '',"
    " status text not null default 'owned')";
inline constexpr char kCopyMovieIndex[] =
    "create index if not exists shelf_copy_movie on shelf_copy (movie_id)";
inline constexpr char kCopyBarcodeIndex[] =
    "create index if not exists shelf_copy_barcode on shelf_copy (barcode)";
inline constexpr char kSetTable[] = "create table if not exists shelf_set ("
                                    "id integer primary key autoincrement, name text not null,"
                                    " kind text not null, barcode text not null default '')";
inline constexpr char kMemberTable[] =
    "create table if not exists shelf_set_member ("
    "set_id integer not null, position integer not null, movie_id integer not null,"
    " copy_id integer, primary key (set_id, position))";
inline constexpr char kMemberMovieIndex[] =
    "create index if not exists shelf_set_member_movie on shelf_set_member (movie_id)";
inline constexpr char kFollowsDvd[] = "create trigger if not exists shelf_follows_dvd"
                                      " after delete on dvd begin"
                                      " delete from shelf_copy where movie_id = old.id;"
                                      " delete from shelf_set_member where movie_id = old.id; end";
inline constexpr char kMembersFollowSet[] =
    "create trigger if not exists shelf_set_member_follows_set"
    " after delete on shelf_set begin"
    " delete from shelf_set_member where set_id = old.id; end";
inline constexpr char kMembersFollowCopy[] =
    "create trigger if not exists shelf_set_member_follows_copy"
    " after delete on shelf_copy begin"
    " update shelf_set_member set copy_id = null where copy_id = old.id; end";

} // namespace ShelfSchema
