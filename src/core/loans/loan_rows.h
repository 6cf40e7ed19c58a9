#pragma once

// What the loan store's parts share. Only the store's own files include this.
#include "core/loans/loan_store.h"

class SqliteDatabase;
class SqliteStatement;

namespace LoanRows {

// The columns a read of loans selects, in the order readLoan takes them,
// and the joins they come from (loan l, its copy c, movie d, borrower b).
inline constexpr char kLoanColumns[] =
    "select l.id, l.copy_id, c.movie_id, d.title, c.format, b.name, l.direction, l.out, l.due,"
    " l.returned, l.note from loan l join shelf_copy c on c.id = l.copy_id"
    " join dvd d on d.id = c.movie_id join loan_borrower b on b.id = l.borrower_id ";
// Open loans first, by due date (none last), then by date out.
inline constexpr char kLoanOrder[] = " order by l.returned <> '', l.due = '', l.due, l.out, l.id";

bool haveTables(const SqliteDatabase& db);
Loan readLoan(const SqliteStatement& row);
std::vector<Loan> readLoans(SqliteStatement& query);
QString isoDate(QDate date);
// A borrower's name as it is compared: spaces simplified, case folded.
QString folded(const QString& name);

} // namespace LoanRows
