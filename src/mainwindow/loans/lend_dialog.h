#pragma once

#include "core/loans/loan_store.h"
#include "core/shelf/shelf_store.h"

#include <QDialog>
#include <QHash>
#include <QSet>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;

// A movie about to be lent: its copies, and those of them already out.
struct LendMovie {
    qint64 id = 0;
    QString title;
    std::vector<ShelfCopy> copies;
    QSet<qint64> copiesOut;
};

// Asks whom to lend the chosen movies to: the borrower (completed from the
// earlier ones), the due date (`days` after today unless changed), a note,
// whether the person borrowed them instead, and, for each movie with several
// copies, which copy (the first one at home to begin with).
class LendDialog : public QDialog {
    Q_OBJECT
public:
    LendDialog(const std::vector<LendMovie>& movies, const QStringList& borrowers, QDate today,
               int days, QWidget* parent);

    // What the person asked for that movie: the copy picked for it, or 0
    // when it has at most one.
    LendRequest request(qint64 movieId) const;
    // The length of the loans asked for, in days from today.
    int days() const;

    QLineEdit& borrower() const { return *m_borrower; }
    QDateEdit& due() const { return *m_due; }
    // The picker of that movie's copy; null when it has at most one.
    QComboBox* copyOf(qint64 movieId) const { return m_copies.value(movieId); }

    void accept() override;

private:
    QLineEdit* m_borrower = nullptr;
    QDateEdit* m_due = nullptr;
    QLineEdit* m_note = nullptr;
    QCheckBox* m_borrowed = nullptr;
    QHash<qint64, QComboBox*> m_copies;
    QDate m_today;
};
