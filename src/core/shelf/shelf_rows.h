#pragma once

// What the shelf store's parts share: making its tables, and a copy as a
// row of shelf_copy. Only the store's own files include this.
#include "core/shelf/shelf_store.h"

class SqliteDatabase;
class SqliteStatement;

namespace ShelfRows {

// The columns a read of copies selects, in the order readCopy takes them.
inline constexpr char kCopyColumns[] =
    "c.id, c.movie_id, c.format, c.edition, c.barcode, c.discs, c.location, c.acquired,"
    " c.price, c.currency, c.condition, c.note, c.status";
inline constexpr int kCopyColumnCount = 13;
// The insert of a new copy, its values bound as bindCopy binds them; it
// returns the copy's id.
inline constexpr char kInsertCopy[] =
    "insert into shelf_copy (movie_id, format, edition, barcode, discs, location, acquired,"
    " price, currency, condition, note, status) values (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9,"
    " ?10, ?11, ?12) returning id";

// Runs one statement to its end.
void run(const SqliteDatabase& db, const char* text);
// Whether the file has the shelf's tables.
bool haveTables(const SqliteDatabase& db);
// Makes the tables, indexes and triggers that are missing (inside the
// caller's transaction).
void makeTables(const SqliteDatabase& db);
// Whether a movie with that id is stored.
bool movieExists(const SqliteDatabase& db, qint64 movieId);

// The copy in the columns of kCopyColumns, starting at `first`.
ShelfCopy readCopy(const SqliteStatement& row, int first = 0);
// The values of a copy bound to ?1 ... ?12 in the order of kCopyColumns
// after the id (movie id first); fails for a barcode, price or text that
// cannot be stored.
void bindCopy(SqliteStatement& statement, const ShelfCopy& copy);

} // namespace ShelfRows
