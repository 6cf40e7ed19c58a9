#pragma once

#include "core/catalogue/connection.h"
#include "core/catalogue/dvd_record.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

// The one owner of the catalogue file. Every read and every change of the
// movies goes through it, and it alone builds the statements it sends (see
// statements.h); nothing above it knows SQL. It is closed until open()
// succeeds. Every operation fails with a description (a Failure) when the
// catalogue is not open or the database refuses it, and an id that is not a
// whole number is refused before anything is sent; nothing is retried.
class Catalogue {
public:
    using Access = Connection::Access;

    Catalogue() = default;
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

    // Opens an existing catalogue file; it is never created. Fails when the
    // file is missing, is no database or is already open. ReadOnly access
    // can never change the file.
    void open(const QString& file, Access access = Access::ReadWrite);
    bool isOpen() const { return m_connection.isOpen(); }
    // Closes the file; a closed catalogue stays closed.
    void close();
    // The file last opened ("" before the first open).
    const QString& fileName() const { return m_fileName; }

    // Every movie in title order, the order the list shows them first. The
    // rows are read at once; walking them never touches the file again.
    Recordset readAll();
    // The movie with that id: one row, or none when no movie has it.
    Recordset readOne(const QString& id);
    // The same reads as records.
    std::vector<DvdRecord> movies();
    std::optional<DvdRecord> movie(const QString& id);

    // Adds a new movie; the catalogue gives it its id, which it returns.
    qint64 add(const DvdRecord& movie);
    // Stores the eight fields of movie under movie.id. False when no movie
    // has that id: then nothing was stored.
    bool change(const DvdRecord& movie);
    // Removes the movie with that id; false when there was none.
    bool remove(const QString& id);
    // Removes every movie; the table itself stays.
    void clear();
    // Adds the movies inside one transaction: either all of them are stored
    // or, when one fails, none is.
    void addAll(const std::vector<DvdRecord>& movies);

    // A batch handed over one movie at a time: calls `add` for each, in order.
    using MovieSource = std::function<void(const std::function<void(const DvdRecord&)>& add)>;
    // Told now and then how many movies of a batch are stored so far;
    // returning false cancels the batch.
    using BatchProgress = std::function<bool(qint64 added)>;
    // The same for a batch that is never held whole: one transaction and one
    // prepared insert with the values bound, so that a large batch is stored
    // at the speed of the database itself. Returns false when `progress`
    // cancelled: then, as after a failure, nothing was stored.
    bool addAll(const MovieSource& movies, const BatchProgress& progress = {});
    // The same for movies whose fields are UTF-8 bytes already (an import's
    // planned movies): valid UTF-8 goes to the file as it is, without being
    // decoded and encoded again; anything else is decoded as a QString
    // would decode it, and a NUL is refused as addAll refuses it.
    using Utf8MovieSource =
        std::function<void(const std::function<void(const DvdFieldsUtf8&)>& add)>;
    bool addAllUtf8(const Utf8MovieSource& movies, const BatchProgress& progress = {});

    // Every movie in title order, as readAll() has them, handed to `visit`
    // one at a time while the rows are read, so that a catalogue of any size
    // takes the memory of one movie. The record handed over is reused for
    // the next row: copy it to keep it.
    void forEachMovie(const std::function<void(const DvdRecord&)>& visit);
    // How many movies the catalogue holds.
    qint64 count();

    // A number that changes whenever a change to the file has been
    // committed since the last call, by another program or by this one.
    // Read on a connection of its own that only ever looks at this number,
    // so it sends nothing on the catalogue's connection and waits at most
    // kVersionWaitMs for another program's lock. Empty while the catalogue
    // is closed or when the number could not be read.
    std::optional<qint64> dataVersion();
    static constexpr int kVersionWaitMs = 250;

private:
    // The connection underneath, for the core's own parts that work on the
    // database itself: the tables beside the movies (covers, lookups, the
    // shelf, loans), the snapshots that copy the whole file, and the tests that
    // watch what is sent (CatalogueInternals is theirs).
    friend class CoverStore;
    friend class LookupLinks;
    friend class ShelfStore;
    friend class LoanStore;
    friend class SnapshotStore;
    friend struct CatalogueInternals;
    friend class MovieFill; // its fields, link and cover in one transaction
    Connection& connection() { return m_connection; }

    Connection m_connection;
    Connection m_versionWatch; // opened on the first dataVersion()
    QString m_fileName;
};

// The current row of a read as a record (the id and the eight fields).
DvdRecord recordAt(const Recordset& rows);
