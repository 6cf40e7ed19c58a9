#include "mainwindow/loans/lend_dialog.h"

#include "core/shelf/shelf_store.h"

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
const QString kBorrowerLabel = QStringLiteral("&Borrower:");
const QString kDueLabel = QStringLiteral("&Due:");
const QString kNoteLabel = QStringLiteral("&Note:");
const QString kCopyLabel = QStringLiteral("&Copy:");
const QString kBorrowedText = QStringLiteral("Borrowed &from them");
const QString kLendButton = QStringLiteral("&Lend");
// How long a loan runs unless the person says otherwise.
constexpr int kLoanDays = 21;

QString copyText(const ShelfCopy& copy) {
    QStringList parts{ShelfNames::name(copy.format)};
    for (const QString& part : {copy.edition, copy.location}) {
        if (!part.isEmpty()) {
            parts << part;
        }
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace

LendDialog::LendDialog(const QString& what, const QStringList& borrowers,
                       const std::vector<ShelfCopy>& copies, QDate today, QWidget* parent)
    : QDialog(parent), m_borrower(new QLineEdit(this)), m_due(new QDateEdit(this)),
      m_note(new QLineEdit(this)), m_borrowed(new QCheckBox(kBorrowedText, this)),
      m_copy(new QComboBox(this)), m_today(today) {
    setWindowTitle(kTitle);
    auto* completer = new QCompleter(borrowers, m_borrower);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_borrower->setCompleter(completer);
    m_due->setCalendarPopup(true);
    m_due->setDate(today.addDays(kLoanDays));

    auto* form = new QFormLayout(this);
    form->addRow(new QLabel(what, this));
    if (copies.size() > 1) {
        for (const ShelfCopy& copy : copies) {
            m_copy->addItem(copyText(copy), copy.id);
        }
        form->addRow(kCopyLabel, m_copy);
    } else {
        m_copy->hide();
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

LendRequest LendDialog::request() const {
    LendRequest request;
    request.copyId = m_copy->currentData().toLongLong();
    request.borrower = m_borrower->text().trimmed();
    request.direction = m_borrowed->isChecked() ? LoanDirection::Borrowed : LoanDirection::Lent;
    request.out = m_today;
    request.due = m_due->date();
    request.note = m_note->text().trimmed();
    return request;
}

void LendDialog::accept() {
    // A loan without a borrower means nothing; the dialog stays up.
    if (m_borrower->text().trimmed().isEmpty()) {
        m_borrower->setFocus();
        return;
    }
    QDialog::accept();
}
