#pragma once

#include "core/loans/loan_store.h"

#include <QDialog>
#include <vector>

class MessageBoxes;
class QComboBox;
class QTableWidget;

// The loans, one a row: title, copy format, borrower, direction, date out,
// due date and, in a history, the date returned. "Show" picks which: the
// open loans (overdue first, then by due date), or every loan, returned ones
// too, of the movie highlighted when it opened or of one borrower.
class LoansWindow : public QDialog {
    Q_OBJECT
public:
    // movieId is the highlighted movie (0 for none), offered by its title.
    LoansWindow(const LoanStore& store, MessageBoxes& boxes, qint64 movieId, const QString& title,
                QWidget* parent);

    QTableWidget& table() const { return *m_table; }
    QComboBox& shown() const { return *m_shown; }

private:
    // Lists the loans the chosen entry of "Show" names.
    void fill(const LoanFilter& filter);

    LoanStore m_store;
    MessageBoxes& m_boxes;
    QComboBox* m_shown = nullptr;
    QTableWidget* m_table = nullptr;
    std::vector<LoanFilter> m_choices; // one per entry of "Show"
};
