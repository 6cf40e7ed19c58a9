#include "mainwindow/loans/lend_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kTitle = QStringLiteral("Lend");
const QString kSeveral = QStringLiteral("%1 movies");
const QString kBorrowerLabel = QStringLiteral("&Borrower:");
const QString kDueLabel = QStringLiteral("&Due:");
const QString kNoteLabel = QStringLiteral("&Note:");
const QString kCopyLabel = QStringLiteral("&Copy:");
const QString kCopyOfLabel = QStringLiteral("%1:");
const QString kOutMark = QStringLiteral(" (out)");
const QString kBorrowedText = QStringLiteral("Borrowed &from them");
const QString kLendButton = QStringLiteral("&Lend");

QString copyText(const ShelfCopy& copy, bool out) {
    QStringList parts{ShelfNames::name(copy.format)};
    for (const QString& part : {copy.edition, copy.location}) {
        if (!part.isEmpty()) {
            parts << part;
        }
    }
    return parts.join(QStringLiteral(", ")) + (out ? kOutMark : QString());
}

// A picker of the movie's copies, the first one at home chosen.
QComboBox* copyPicker(const LendMovie& movie, QWidget* parent) {
    auto* picker = new QComboBox(parent);
    int home = -1;
    for (const ShelfCopy& copy : movie.copies) {
        const bool out = movie.copiesOut.contains(copy.id);
        if (!out && home < 0) {
            home = picker->count();
        }
        picker->addItem(copyText(copy, out), copy.id);
    }
    picker->setCurrentIndex(std::max(home, 0));
    return picker;
}

} // namespace

LendDialog::LendDialog(const std::vector<LendMovie>& movies, const QStringList& borrowers,
                       QDate today, int days, QWidget* parent)
    : QDialog(parent), m_borrower(new QLineEdit(this)), m_due(new QDateEdit(this)),
      m_note(new QLineEdit(this)), m_borrowed(new QCheckBox(kBorrowedText, this)), m_today(today) {
    setWindowTitle(kTitle);
    auto* completer = new QCompleter(borrowers, m_borrower);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_borrower->setCompleter(completer);
    m_due->setCalendarPopup(true);
    m_due->setDate(today.addDays(days));

    auto* form = new QFormLayout(this);
    const bool one = movies.size() == 1;
    form->addRow(new QLabel(one ? movies.front().title : kSeveral.arg(movies.size()), this));
    for (const LendMovie& movie : movies) {
        if (movie.copies.size() < 2) {
            continue;
        }
        QComboBox* picker = copyPicker(movie, this);
        m_copies.insert(movie.id, picker);
        // Several movies: each picker is named by its movie, whose '&' is no access key.
        QString title = movie.title;
        form->addRow(one ? kCopyLabel : kCopyOfLabel.arg(title.replace('&', QStringLiteral("&&"))),
                     picker);
    }
    form->addRow(kBorrowerLabel, m_borrower);
    form->addRow(kDueLabel, m_due);
    form->addRow(kNoteLabel, m_note);
    form->addRow(m_borrowed);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    buttons->addButton(kLendButton, QDialogButtonBox::AcceptRole)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

LendRequest LendDialog::request(qint64 movieId) const {
    LendRequest request;
    request.movieId = movieId;
    if (const QComboBox* picker = copyOf(movieId)) {
        request.copyId = picker->currentData().toLongLong();
    }
    request.borrower = m_borrower->text().trimmed();
    request.direction = m_borrowed->isChecked() ? LoanDirection::Borrowed : LoanDirection::Lent;
    request.out = m_today;
    request.due = m_due->date();
    request.note = m_note->text().trimmed();
    return request;
}

int LendDialog::days() const {
    return int(m_today.daysTo(m_due->date()));
}

void LendDialog::accept() {
    // A loan without a borrower means nothing; the dialog stays up.
    if (m_borrower->text().trimmed().isEmpty()) {
        m_borrower->setFocus();
        return;
    }
    QDialog::accept();
}
