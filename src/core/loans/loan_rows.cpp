#include "core/loans/loan_rows.h"

#include "core/sqlite/sqlite_database.h"
#include "core/sqlite/sqlite_statement.h"

namespace LoanRows {

bool haveTables(const SqliteDatabase& db) {
    return db.hasTable(QStringLiteral("loan"));
}

QString isoDate(QDate date) {
    return date.isValid() ? date.toString(Qt::ISODate) : QString();
}

QString folded(const QString& name) {
    return name.simplified().toCaseFolded();
}

Loan readLoan(const SqliteStatement& row) {
    Loan loan;
    loan.id = row.integer(0);
    loan.copyId = row.integer(1);
    loan.movieId = row.integer(2);
    loan.title = row.text(3);
    loan.format = ShelfNames::format(row.text(4)).value_or(CopyFormat::Other);
    loan.borrower = row.text(5);
    loan.direction = row.text(6) == LoanNames::name(LoanDirection::Borrowed)
                         ? LoanDirection::Borrowed
                         : LoanDirection::Lent;
    loan.out = QDate::fromString(row.text(7), Qt::ISODate);
    loan.due = QDate::fromString(row.text(8), Qt::ISODate);
    loan.returned = QDate::fromString(row.text(9), Qt::ISODate);
    loan.note = row.text(10);
    return loan;
}

std::vector<Loan> readLoans(SqliteStatement& query) {
    std::vector<Loan> loans;
    while (query.step()) {
        loans.push_back(readLoan(query));
    }
    return loans;
}

} // namespace LoanRows
