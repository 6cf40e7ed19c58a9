#pragma once

#include "core/loans/loan_store.h"

#include <QByteArray>
#include <QDateTime>
#include <vector>

// The loans as an iCalendar file any calendar program imports: one to-do
// per loan, named after its movie and borrower, due on its due date (a date,
// not a time) with an alarm on the morning of that day. `stamp` is when the
// file was made.
QByteArray loanCalendar(const std::vector<Loan>& loans, const QDateTime& stamp);
// The same written to a file, whole or not at all; fails with a description.
void writeLoanCalendar(const std::vector<Loan>& loans, const QDateTime& stamp, const QString& path);
