#pragma once

#include "core/loans/loan_store.h"

#include <QDialog>

class QTableWidget;

// The open loans, overdue first, then by due date: title, copy format,
// borrower, direction, date out and due date, one loan a row.
class LoansWindow : public QDialog {
    Q_OBJECT
public:
    LoansWindow(LoanStore& store, QWidget* parent);

    QTableWidget& table() const { return *m_table; }

private:
    QTableWidget* m_table = nullptr;
};
