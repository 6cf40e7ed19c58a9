#pragma once

#include "core/shelf/shelf_names.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class Catalogue;

// Whether the person lent the copy to someone or borrowed it from them.
enum class LoanDirection { Lent, Borrowed };

// One loan of a copy as read, with what the lists show of its movie.
struct Loan {
    qint64 id = 0;
    qint64 copyId = 0;
    qint64 movieId = 0;
    QString title;
    CopyFormat format = CopyFormat::Other;
    QString borrower;
    LoanDirection direction = LoanDirection::Lent;
    QDate out;
    QDate due;      // null when none was set
    QDate returned; // null while the loan is open
    QString note;

    bool isOpen() const { return returned.isNull(); }
};

// What a lend asks for. A copy id of 0 lends the movie's only copy (one
// made for it when it has none); a null date out is today.
struct LendRequest {
    qint64 movieId = 0;
    qint64 copyId = 0;
    QString borrower;
    LoanDirection direction = LoanDirection::Lent;
    QDate out;
    QDate due;
    QString note;
};

// Which loans a read returns. By default the open ones of every movie.
struct LoanFilter {
    bool openOnly = true;
    bool overdueOnly = false; // open loans whose due date has passed
    QString borrower;         // any case; empty for everyone
    qint64 movieId = 0;       // 0 for every movie
};

// What the list shows and finds of a movie with a copy out.
struct MovieOnLoan {
    QString text;          // "Sam, due 14 Dec", "from Sam", "overdue 3 days"
    bool overdue = false;  // a loan of it is past its due date
    bool borrowed = false; // a loan of it was borrowed by the person
    bool lent = false;     // a loan of it was lent by the person
    QStringList borrowers; // who has (or lent) its copies, in the order shown
};

struct Borrower {
    QString name;
    QString contact;
};

// The loans of a catalogue's copies, in tables of their own made with the
// first loan, in the same transaction (with the shelf's tables when the
// catalogue has none yet); reading never makes them. "Today" is the date the
// clock gives in the person's time zone, so overdue loans are counted in
// whole days of it.
//
// Every change fails with a plain description (a Failure), storing nothing,
// when it is refused or the database refuses it.
class LoanStore {
public:
    // The local date of today; the real one when empty.
    using Clock = std::function<QDate()>;

    explicit LoanStore(Catalogue& catalogue, Clock clock = {});

    QDate today() const { return m_clock(); }

    // Lends (or records as borrowed) a copy of a movie and returns the
    // loan's id. A name not seen before becomes a borrower. Fails when the
    // movie or copy is gone, the copy is of another movie, the movie has
    // several copies and none is named, the copy is already out (also when
    // another program lent it a moment ago), or the due date is before the
    // date out.
    qint64 lend(const LendRequest& request);
    // Marks the open loan of a movie (of its copy copyId when not 0)
    // returned on `on` (today when null) and returns it. Fails when nothing
    // of it is out, several copies are out and none is named, or the date
    // is before the date out.
    Loan giveBack(qint64 movieId, qint64 copyId = 0, QDate on = {});

    // The loans the filter picks: open ones first, by due date (overdue
    // first, none last), then by date out.
    std::vector<Loan> loans(const LoanFilter& filter = {});
    // Every loan ever made of a movie, open or returned.
    std::vector<Loan> history(qint64 movieId);
    // Every borrower by name, with their contact text.
    std::vector<Borrower> borrowers();
    // Sets a borrower's contact text; fails when no borrower has that name.
    void setContact(const QString& name, const QString& contact);

    // How many whole days a loan is past its due date today; 0 when it is
    // not (or has no due date, or was returned).
    int daysOverdue(const Loan& loan) const;
    // Each movie with a copy out, by id: its text is that of the most
    // pressing of its loans ("Sam, due 14 Dec", "from Sam" for a borrowed
    // one, "overdue 3 days" past the due date). One read for the whole
    // catalogue.
    QHash<qint64, MovieOnLoan> onLoan();

    // True when the catalogue has the loans' tables at all, from the schema
    // the connection has read (no statement: the window asks it before a
    // delete, after catching up with other programs).
    bool hasTables();

private:
    Catalogue& m_catalogue;
    Clock m_clock;
};

namespace LoanNames {
// "lent" or "borrowed", as the catalogue stores it and the lists write it.
QString name(LoanDirection direction);
// A date as the command line takes it (YYYY-MM-DD); fails for anything else.
QDate date(const QString& text);
} // namespace LoanNames
