#pragma once

#include "core/catalogue/dvd_record.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

struct ShelfCopy;

// One movie the file would add, and where it stands in the file.
class PlannedMovie {
public:
    PlannedMovie(QString packedFields, qint64 number, bool looksLikeExisting)
        : m_fields(std::move(packedFields)), m_number(number),
          m_looksLikeExisting(looksLikeExisting) {}

    // The movie as it will be stored (no id: the catalogue gives one).
    DvdRecord movie() const;
    // Its line or row.
    qint64 number() const { return m_number; }
    // Same title and year (ignoring case and accents) as a movie already in the catalogue.
    bool looksLikeExisting() const { return m_looksLikeExisting; }

private:
    QString m_fields; // each field followed by a NUL, which no value holds
    qint64 m_number;
    bool m_looksLikeExisting;
};

// The movies a file would add, in file order, kept in a private scratch
// database rather than in memory: SQLite holds a small cache of it and lets
// the rest go to a temporary file that disappears with the last copy of this
// object, so planning a file of millions of rows takes little memory. Fails
// (Failure) when the scratch database cannot be made or written.
class PlannedMovies {
public:
    PlannedMovies();
    ~PlannedMovies();

    // A movie's fields as ColumnMap::packFieldsUtf8 packs them, and the id
    // of the stored movie it looks like, if any (0 when that movie has no
    // id to name it by).
    void add(QByteArrayView packedUtf8, qint64 number, std::optional<qint64> lookAlikeOf);
    // The movie at that place is the one `key` names (its packed fields,
    // and its id in the file where it has one): a later row with the same
    // key joins it.
    void setKey(std::size_t movie, QByteArrayView key);
    // The place of the movie with that key, if any.
    std::optional<std::size_t> find(QByteArrayView key);
    // A copy (packCopyUtf8) of the movie at that place.
    void addCopy(std::size_t movie, QByteArrayView packedCopyUtf8);
    // How many copies the movies hold, leaving out those of look-alikes when asked to.
    qint64 copyCount(bool skipLookAlikes) const;
    // How many copies the look-alikes hold.
    qint64 lookAlikeCopyCount() const { return m_copies == 0 ? 0 : m_copies - copyCount(true); }
    std::size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }
    // The movie at that place in file order (0 is the first).
    PlannedMovie operator[](std::size_t index) const;
    // Each movie in file order, leaving out look-alikes when asked to, until
    // `visit` returns false.
    void forEach(bool skipLookAlikes, const std::function<bool(const PlannedMovie&)>& visit) const;
    // The same as the fields' UTF-8 bytes, read in place: the views are valid
    // only during the call to `visit`.
    void forEachUtf8(bool skipLookAlikes,
                     const std::function<void(const DvdFieldsUtf8&)>& visit) const;
    // Each movie in file order with its copies in the order they came. When
    // look-alikes are left out, those with copies still come, with the id
    // of the stored movie they look like for the copies to join (0 for
    // every other movie, and for one whose look-alike has no id).
    void forEachWithCopies(bool skipLookAlikes,
                           const std::function<void(const DvdRecord&, const std::vector<ShelfCopy>&,
                                                    qint64 storedId)>& visit) const;

private:
    struct Scratch;
    std::shared_ptr<Scratch> m_scratch;
    std::size_t m_count = 0;
    qint64 m_copies = 0;
};
