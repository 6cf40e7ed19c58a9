// LoanStore: lending and giving back.
#include "core/catalogue/catalogue.h"
#include "core/catalogue/connection.h"
#include "core/catalogue/side_tables.h"
#include "core/covers/cover_store.h"
#include "core/loans/loan_rows.h"
#include "core/report/failure.h"
#include "core/shelf/shelf_store.h"
#include "core/sqlite/sqlite_statement.h"
#include "core/sqlite/write_transaction.h"

#include <QStringList>

using namespace LoanRows;

namespace {

const QString kCopyOfOtherMovie = QStringLiteral("The copy %1 is not a copy of the movie %2.");
const QString kSeveralCopies = QStringLiteral("%1 has %2 copies; say which one (copy ids %3).");
const QString kAlreadyOut = QStringLiteral("The copy %1 of %2 is already out (%3 %4 since %5).");
const QString kNotOut = QStringLiteral("%1 is not out.");
const QString kCopyNotOut = QStringLiteral("The copy %1 of %2 is not out.");
const QString kSeveralOut =
    QStringLiteral("%1 has %2 copies out; say which one comes back (copy ids %3).");
const QString kDueBeforeOut = QStringLiteral("The due date %1 is before the date out %2.");
const QString kBackBeforeOut = QStringLiteral("The return date %1 is before the date out %2.");
const QString kNoBorrowerName = QStringLiteral("A loan needs the name of the borrower.");
const QString kNoSuchBorrower = QStringLiteral("There is no borrower named %1.");

void makeTables(const SqliteDatabase& db) {
    for (const char* statement : sideSchemaOf(QStringLiteral("loan"))->statements) {
        db.execute(statement);
    }
}

// The title of a stored movie; fails when it is gone.
QString movieTitle(const SqliteDatabase& db, qint64 movieId) {
    SqliteStatement query(db, "select title from dvd where id = ?1");
    query.bind(1, movieId);
    if (!query.step()) {
        throw Failure(kNoSuchMovie.arg(movieId));
    }
    return query.text(0);
}

QString copyIds(const QList<qint64>& ids) {
    QStringList texts;
    for (const qint64 id : ids) {
        texts << QString::number(id);
    }
    return texts.join(QStringLiteral(", "));
}

// The copy a lend is of: the one named (of this movie), the only one, or a
// new one of the format "other" made for a movie that has none.
qint64 copyToLend(ShelfStore& shelf, const LendRequest& request, const QString& title) {
    if (request.copyId != 0) {
        const std::optional<ShelfCopy> copy = shelf.copy(request.copyId);
        if (!copy) {
            throw Failure(kNoSuchCopy.arg(request.copyId));
        }
        if (copy->movieId != request.movieId) {
            throw Failure(kCopyOfOtherMovie.arg(request.copyId).arg(request.movieId));
        }
        return copy->id;
    }
    const std::vector<ShelfCopy> copies = shelf.copies(request.movieId);
    if (copies.empty()) {
        ShelfCopy copy;
        copy.movieId = request.movieId;
        copy.format = CopyFormat::Other;
        return shelf.addCopy(copy);
    }
    if (copies.size() > 1) {
        QList<qint64> ids;
        for (const ShelfCopy& copy : copies) {
            ids << copy.id;
        }
        throw Failure(kSeveralCopies.arg(title).arg(copies.size()).arg(copyIds(ids)));
    }
    return copies.front().id;
}

// The id of the borrower of that name, made when it is new.
qint64 borrowerId(const SqliteDatabase& db, const QString& name) {
    SqliteStatement insert(db, "insert into loan_borrower (name, fold) values (?1, ?2)"
                               " on conflict (fold) do nothing");
    insert.bind(1, name.simplified()).bind(2, folded(name)).step();
    SqliteStatement query(db, "select id from loan_borrower where fold = ?1");
    query.bind(1, folded(name)).step();
    return query.integer(0);
}

} // namespace

namespace LoanNames {

QString name(LoanDirection direction) {
    return direction == LoanDirection::Lent ? QStringLiteral("lent") : QStringLiteral("borrowed");
}

QDate date(const QString& text) {
    const QDate date = QDate::fromString(text.trimmed(), QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid()) {
        throw Failure(QStringLiteral("'%1' is not a date (YYYY-MM-DD).").arg(text));
    }
    return date;
}

} // namespace LoanNames

LoanStore::LoanStore(Catalogue& catalogue, Clock clock)
    : m_catalogue(catalogue),
      m_clock(clock ? std::move(clock) : Clock([] { return QDate::currentDate(); })) {}

bool LoanStore::hasTables() {
    return m_catalogue.connection().database().knowsTable(QStringLiteral("loan"));
}

qint64 LoanStore::lend(const LendRequest& request) {
    if (request.borrower.simplified().isEmpty()) {
        throw Failure(kNoBorrowerName);
    }
    requireStorableText(request.borrower);
    requireStorableText(request.note);
    const QDate out = request.out.isValid() ? request.out : today();
    if (request.due.isValid() && request.due < out) {
        throw Failure(kDueBeforeOut.arg(isoDate(request.due), isoDate(out)));
    }
    SqliteDatabase& db = m_catalogue.connection().database();
    // Everything is looked at inside the write transaction, so a movie
    // deleted or a copy lent by another program a moment ago is seen.
    WriteTransaction transaction(db);
    const QString title = movieTitle(db, request.movieId);
    ShelfStore shelf(m_catalogue);
    const qint64 copyId = copyToLend(shelf, request, title);
    makeTables(db);
    SqliteStatement open(db, "select b.name, l.direction, l.out from loan l join loan_borrower b"
                             " on b.id = l.borrower_id where l.copy_id = ?1 and l.returned = ''");
    if (open.bind(1, copyId).step()) {
        const bool lent = open.text(1) == LoanNames::name(LoanDirection::Lent);
        throw Failure(kAlreadyOut.arg(copyId).arg(
            title, lent ? QStringLiteral("lent to") : QStringLiteral("borrowed from"), open.text(0),
            open.text(2)));
    }
    SqliteStatement insert(db, "insert into loan (copy_id, borrower_id, direction, out, due, note)"
                               " values (?1, ?2, ?3, ?4, ?5, ?6) returning id");
    insert.bind(1, copyId).bind(2, borrowerId(db, request.borrower));
    insert.bind(3, LoanNames::name(request.direction)).bind(4, isoDate(out));
    insert.bind(5, isoDate(request.due)).bind(6, request.note);
    insert.step();
    const qint64 id = insert.integer(0);
    insert.reset();
    transaction.commit();
    return id;
}

Loan LoanStore::giveBack(qint64 movieId, qint64 copyId, QDate on) {
    const QDate back = on.isValid() ? on : today();
    SqliteDatabase& db = m_catalogue.connection().database();
    WriteTransaction transaction(db);
    const QString title = movieTitle(db, movieId);
    std::vector<Loan> out;
    if (haveTables(db)) {
        SqliteStatement query(db, QByteArray(kLoanColumns) +
                                      "where c.movie_id = ?1 and l.returned = ''"
                                      " and (?2 = 0 or l.copy_id = ?2) order by l.copy_id");
        query.bind(1, movieId).bind(2, copyId);
        out = readLoans(query);
    }
    if (out.empty()) {
        throw Failure(copyId != 0 ? kCopyNotOut.arg(copyId).arg(title) : kNotOut.arg(title));
    }
    if (out.size() > 1) {
        QList<qint64> ids;
        for (const Loan& loan : out) {
            ids << loan.copyId;
        }
        throw Failure(kSeveralOut.arg(title).arg(out.size()).arg(copyIds(ids)));
    }
    Loan loan = out.front();
    if (back < loan.out) {
        throw Failure(kBackBeforeOut.arg(isoDate(back), isoDate(loan.out)));
    }
    SqliteStatement update(db, "update loan set returned = ?2 where id = ?1");
    update.bind(1, loan.id).bind(2, isoDate(back)).step();
    transaction.commit();
    loan.returned = back;
    return loan;
}

void LoanStore::setContact(const QString& name, const QString& contact) {
    requireStorableText(contact);
    SqliteDatabase& db = m_catalogue.connection().database();
    if (!haveTables(db)) {
        throw Failure(kNoSuchBorrower.arg(name));
    }
    SqliteStatement update(db, "update loan_borrower set contact = ?2 where fold = ?1");
    update.bind(1, folded(name)).bind(2, contact).step();
    if (db.changes() == 0) {
        throw Failure(kNoSuchBorrower.arg(name));
    }
}
