#pragma once

#include "core/loans/loan_store.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
struct ShelfCopy;

// Asks whom to lend the chosen movies to: the borrower (completed from the
// earlier ones), the due date, a note, whether the person borrowed them
// instead, and, for a single movie with several copies, which copy.
class LendDialog : public QDialog {
    Q_OBJECT
public:
    LendDialog(const QString& what, const QStringList& borrowers,
               const std::vector<ShelfCopy>& copies, QDate today, QWidget* parent);

    // What the person asked for; the movie id is left for the caller.
    LendRequest request() const;

    QLineEdit& borrower() const { return *m_borrower; }
    QDateEdit& due() const { return *m_due; }
    QComboBox& copy() const { return *m_copy; }

    void accept() override;

private:
    QLineEdit* m_borrower = nullptr;
    QDateEdit* m_due = nullptr;
    QLineEdit* m_note = nullptr;
    QCheckBox* m_borrowed = nullptr;
    QComboBox* m_copy = nullptr;
    QDate m_today;
};
