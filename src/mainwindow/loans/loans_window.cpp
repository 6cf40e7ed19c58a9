#include "mainwindow/loans/loans_window.h"

#include <QHeaderView>
#include <QLocale>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("Loans");
const QStringList kHeaders = {QStringLiteral("Title"),    QStringLiteral("Copy"),
                              QStringLiteral("Borrower"), QStringLiteral("Direction"),
                              QStringLiteral("Out"),      QStringLiteral("Due")};
const QString kOverdue = QStringLiteral("%1 (overdue %2 days)");

QString dateText(QDate date) {
    return date.isNull() ? QString() : QLocale().toString(date, QLocale::ShortFormat);
}

} // namespace

LoansWindow::LoansWindow(LoanStore& store, QWidget* parent)
    : QDialog(parent), m_table(new QTableWidget(this)) {
    setWindowTitle(kTitle);
    // The store reads them open ones first, overdue first, then by due date.
    const std::vector<Loan> loans = store.hasTables() ? store.loans() : std::vector<Loan>{};
    m_table->setColumnCount(int(kHeaders.size()));
    m_table->setHorizontalHeaderLabels(kHeaders);
    m_table->setRowCount(int(loans.size()));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    for (int row = 0; row < int(loans.size()); ++row) {
        const Loan& loan = loans[size_t(row)];
        const int late = store.daysOverdue(loan);
        const QString due =
            late > 0 ? kOverdue.arg(dateText(loan.due)).arg(late) : dateText(loan.due);
        const QStringList cells = {loan.title,         ShelfNames::name(loan.format),
                                   loan.borrower,      LoanNames::name(loan.direction),
                                   dateText(loan.out), due};
        for (int column = 0; column < int(cells.size()); ++column) {
            m_table->setItem(row, column, new QTableWidgetItem(cells.at(column)));
        }
    }
    m_table->resizeColumnsToContents();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    resize(640, 320);
}
