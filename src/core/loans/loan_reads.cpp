// LoanStore: what the lists read of the loans.
#include "core/catalogue/catalogue.h"
#include "core/loans/loan_rows.h"
#include "core/sqlite/sqlite_statement.h"

#include <QLocale>

using namespace LoanRows;

std::vector<Loan> LoanStore::loans(const LoanFilter& filter) {
    const SqliteDatabase& db = m_catalogue.connection().database();
    if (!haveTables(db)) {
        return {};
    }
    // ISO dates compare as text, so "past due" is a comparison of strings.
    SqliteStatement query(db,
                          QByteArray(kLoanColumns) +
                              "where (?1 = 0 or l.returned = '')"
                              " and (?2 = 0 or (l.returned = '' and l.due <> '' and l.due < ?3))"
                              " and (?4 = '' or b.fold = ?4) and (?5 = 0 or c.movie_id = ?5)" +
                              kLoanOrder);
    query.bind(1, qint64(filter.openOnly)).bind(2, qint64(filter.overdueOnly));
    query.bind(3, isoDate(today())).bind(4, folded(filter.borrower)).bind(5, filter.movieId);
    return readLoans(query);
}

std::vector<Loan> LoanStore::history(qint64 movieId) {
    LoanFilter filter;
    filter.openOnly = false;
    filter.movieId = movieId;
    return loans(filter);
}

std::vector<Borrower> LoanStore::borrowers() {
    const SqliteDatabase& db = m_catalogue.connection().database();
    if (!haveTables(db)) {
        return {};
    }
    SqliteStatement query(db, "select name, contact from loan_borrower order by fold");
    std::vector<Borrower> borrowers;
    while (query.step()) {
        borrowers.push_back({query.text(0), query.text(1)});
    }
    return borrowers;
}

int LoanStore::daysOverdue(const Loan& loan) const {
    if (!loan.isOpen() || !loan.due.isValid()) {
        return 0;
    }
    return int(std::max<qint64>(0, loan.due.daysTo(today())));
}

QHash<qint64, MovieOnLoan> LoanStore::onLoan() {
    QHash<qint64, MovieOnLoan> movies;
    const SqliteDatabase& db = m_catalogue.connection().database();
    if (!haveTables(db)) {
        return movies;
    }
    // The open loans only, most pressing first within each movie: the first
    // row of a movie gives its text.
    SqliteStatement query(db, "select c.movie_id, b.name, l.direction, l.due from loan l"
                              " join shelf_copy c on c.id = l.copy_id"
                              " join loan_borrower b on b.id = l.borrower_id"
                              " where l.returned = '' order by l.due = '', l.due");
    const QDate now = today();
    const QLocale english(QLocale::English);
    const QByteArray borrowedName = LoanNames::name(LoanDirection::Borrowed).toUtf8();
    while (query.step()) {
        MovieOnLoan& movie = movies[query.integer(0)];
        const bool first = movie.borrowers.isEmpty();
        const QString name = query.text(1);
        const bool borrowed = query.utf8(2) == borrowedName;
        const QDate due = QDate::fromString(query.text(3), Qt::ISODate);
        const qint64 late = due.isValid() ? due.daysTo(now) : 0;
        movie.borrowers << name;
        movie.borrowed = movie.borrowed || borrowed;
        movie.lent = movie.lent || !borrowed;
        movie.overdue = movie.overdue || late > 0;
        if (!first) {
            continue;
        }
        if (late > 0) {
            movie.text = late == 1 ? QStringLiteral("overdue 1 day")
                                   : QStringLiteral("overdue %1 days").arg(late);
            continue;
        }
        movie.text = borrowed ? QStringLiteral("from ") + name : name;
        if (due.isValid()) {
            movie.text +=
                QStringLiteral(", due ") +
                english.toString(due, due.year() == now.year() ? QStringLiteral("d MMM")
                                                               : QStringLiteral("d MMM yyyy"));
        }
    }
    return movies;
}
