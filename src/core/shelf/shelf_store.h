#pragma once

#include "core/shelf/shelf_names.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

class Catalogue;
struct DvdRecord;

// One physical (or digital) copy of a movie.
struct ShelfCopy {
    qint64 id = 0; // given by the store; 0 for a copy not yet stored
    qint64 movieId = 0;
    CopyFormat format = CopyFormat::Dvd;
    QString edition;  // "Final Cut", "Criterion"
    QString barcode;  // empty, or a valid EAN-13, UPC-A or EAN-8 as given
    int discs = 0;    // 0 when not told
    QString location; // "Shelf B", "Box 3"
    QDate acquired;   // null when not told
    QString price;    // "12.50" (see ShelfInput::price), empty when not told
    QString currency; // "EUR", "$"
    QString condition;
    QString note;
    CopyStatus status = CopyStatus::Owned;
};

// A copy with the title of its movie, as a scan names it.
struct FoundCopy {
    ShelfCopy copy;
    QString title;
};

// A box set (a thing on the shelf with its own barcode, holding copies) or
// a series (an ordered list of movies, owned or not).
struct ShelfSet {
    qint64 id = 0;
    QString name;
    SetKind kind = SetKind::Series;
    QString barcode; // a box set's own; empty for a series
};

// One place in a set as read: a movie and, in a box set, the copy it holds.
struct SetMember {
    qint64 movieId = 0;
    qint64 copyId = 0; // 0 for none
    QString title;
    bool missing = false; // no copy owned or ordered
};

// Movies that look like one film stored twice: they share a barcode, or
// else their titles, years and directors are the same once folded.
struct DuplicateGroup {
    enum class Match { Barcode, TitleYearDirector };
    Match match = Match::Barcode;
    QString barcode; // the shared one, for a barcode match
    QList<qint64> movieIds;
};

// A field of the copies the movie list shows a column of.
enum class CopyCellField { Format, Location, Status, Barcode };

// What the shelf says of a copy id no copy has.
inline const QString kNoSuchCopy = QStringLiteral("There is no copy with the id %1.");

// The collector's shelf of a catalogue: the copies of its movies, its box
// sets and series, and its likely duplicates, kept in tables of their own
// beside the movies. The tables are made with the first copy or set stored,
// in the same transaction, so a catalogue that never uses the shelf stays
// exactly as the template made it; reading never makes them.
//
// Every operation fails with a description (a Failure) when the input is
// refused or the database refuses it; a change happens whole or not at all.
class ShelfStore {
public:
    explicit ShelfStore(Catalogue& catalogue) : m_catalogue(catalogue) {}

    // Stores a new copy of copy.movieId and returns its id. Fails, storing
    // nothing, for an invalid barcode or price or when the movie is gone.
    qint64 addCopy(const ShelfCopy& copy);
    // Stores copy under copy.id (its movie stays). Fails as addCopy does and
    // when no copy has that id.
    void changeCopy(const ShelfCopy& copy);
    // Stores new movies, each with its copies, in one transaction (the
    // shelf's tables made in it with the first copy): all of them or, on a
    // failure (thrown), none. A movie given with a stored movie's id
    // (`storedId`, else 0) is not stored: its copies join that movie, or,
    // when that one is gone (deleted meanwhile by another program), the
    // movie is stored with them after all, so no copy is lost. `progress` is
    // told now and then how many movies are stored; when it returns false
    // nothing is stored and this returns false.
    using MovieWithCopies =
        std::function<void(const DvdRecord&, const std::vector<ShelfCopy>&, qint64 storedId)>;
    using MoviesWithCopies = std::function<void(const MovieWithCopies& add)>;
    bool addMoviesWithCopies(const MoviesWithCopies& movies,
                             const std::function<bool(qint64 added)>& progress = {});
    // Removes a copy; false when there was none.
    bool removeCopy(qint64 copyId);
    std::optional<ShelfCopy> copy(qint64 copyId);
    // The copies of a movie in the order they were added.
    std::vector<ShelfCopy> copies(qint64 movieId);
    // Every copy of every movie, by movie id and then in the order added.
    std::vector<ShelfCopy> allCopies();
    // The movie list's cells of a copy field, every movie's in one read:
    // per movie the different texts its copies give (first added first,
    // compared without regard to case, blanks around them and empty ones left
    // out) joined with ", "; formats and statuses by their names. Movies
    // without such a text are left out; equal cells share one string.
    QHash<qint64, QString> copyCells(CopyCellField field);
    // Per movie the number of its copies ("2"); movies without are left out.
    QHash<qint64, QString> copyCountCells();
    // Per movie the different names of the sets it is in, in the order of
    // sets(), joined with ", "; movies in none are left out.
    QHash<qint64, QString> setCells();
    // The copies a barcode stands for: those carrying it (as UPC-A or
    // EAN-13 alike) and those held by a box set carrying it.
    std::vector<FoundCopy> findBarcode(const QString& barcode);
    // The movies only wished for: a wished copy and no owned one, in one
    // look through the copies. A catalogue without the shelf's tables, as
    // the last statement on it saw them, is asked nothing at all.
    QSet<qint64> wishedOnly();

    // Makes a set of the movies in their order and returns its id; a box
    // set names the copy it holds of a movie in `copies` (by movie id).
    // Fails, storing nothing, when a movie or copy is gone, a copy belongs
    // to another movie, or a box set's barcode is not valid.
    qint64 makeSet(const ShelfSet& set, const QList<qint64>& movieIds,
                   const QHash<qint64, qint64>& copies = {});
    bool removeSet(qint64 setId);
    std::vector<ShelfSet> sets();
    std::vector<SetMember> members(qint64 setId);
    // The movies of a set with no copy owned or ordered, in the set's order.
    QList<qint64> missing(qint64 setId);

    // Every group of likely duplicates: barcode matches first, then the
    // folded title, year and director of movies that have both a year and
    // a director (never the title alone).
    std::vector<DuplicateGroup> duplicates();
    // The stored movies the one about to be added (with that barcode, if
    // any) would duplicate: those with a copy of the barcode, else those of
    // the same folded title, year and director.
    QList<qint64> duplicatesOf(const DvdRecord& movie, const QString& barcode = {});

    // How many of the movies about to be added (without barcodes) would
    // duplicate a stored one as duplicatesOf tells it: the same folded
    // title, year and director. The catalogue is read once for them all.
    qint64 countDuplicates(
        const std::function<void(const std::function<void(const DvdRecord&)>&)>& movies);

    // True when the catalogue has the shelf's tables at all.
    bool hasTables();

private:
    Catalogue& m_catalogue;
};

// What a copy is in a few words, as a scan names it: "Blu-ray, Final Cut,
// Shelf B", the parts not told left out, and the status when not owned
// ("DVD (wished)").
QString describeCopy(const ShelfCopy& copy);
// The price paid with its currency ("12.50 EUR"), empty when not told.
QString priceText(const ShelfCopy& copy);

// A copy or set id as given ("12") as a number; fails for anything else.
qint64 shelfId(const QString& text, const QString& what);
