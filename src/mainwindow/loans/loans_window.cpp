#include "mainwindow/loans/loans_window.h"

#include "core/report/failure.h"
#include "core/report/message_boxes.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLocale>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("Loans");
const QStringList kHeaders = {QStringLiteral("Title"),    QStringLiteral("Copy"),
                              QStringLiteral("Borrower"), QStringLiteral("Direction"),
                              QStringLiteral("Out"),      QStringLiteral("Due"),
                              QStringLiteral("Returned")};
constexpr int kReturnedColumn = 6;
const QString kOverdue = QStringLiteral("%1 (overdue %2 days)");
const QString kShowLabel = QStringLiteral("&Show:");
const QString kOpenLoans = QStringLiteral("Open loans");
const QString kHistoryOf = QStringLiteral("History of %1");

QString dateText(QDate date) {
    return date.isNull() ? QString() : QLocale().toString(date, QLocale::ShortFormat);
}

} // namespace

LoansWindow::LoansWindow(const LoanStore& store, MessageBoxes& boxes, qint64 movieId,
                         const QString& title, QWidget* parent)
    : QDialog(parent), m_store(store), m_boxes(boxes), m_shown(new QComboBox(this)),
      m_table(new QTableWidget(this)) {
    setWindowTitle(kTitle);
    m_choices.push_back({});
    m_shown->addItem(kOpenLoans);
    LoanFilter history;
    history.openOnly = false;
    if (movieId != 0) {
        history.movieId = movieId;
        m_choices.push_back(history);
        m_shown->addItem(kHistoryOf.arg(title));
        history.movieId = 0;
    }
    for (const Borrower& borrower : m_store.borrowers()) {
        history.borrower = borrower.name;
        m_choices.push_back(history);
        m_shown->addItem(kHistoryOf.arg(borrower.name));
    }
    m_table->setColumnCount(int(kHeaders.size()));
    m_table->setHorizontalHeaderLabels(kHeaders);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    fill(m_choices.front());
    connect(m_shown, &QComboBox::currentIndexChanged, this, [this](int choice) {
        try {
            fill(m_choices.at(size_t(choice)));
        } catch (const Failure& failure) {
            m_boxes.warn(failure.description());
        }
    });

    auto* layout = new QVBoxLayout(this);
    auto* choice = new QFormLayout;
    choice->addRow(kShowLabel, m_shown);
    layout->addLayout(choice);
    layout->addWidget(m_table);
    resize(640, 320);
}

void LoansWindow::fill(const LoanFilter& filter) {
    // The store reads them open ones first, overdue first, then by due date.
    const std::vector<Loan> loans = m_store.loans(filter);
    m_table->clearContents();
    m_table->setRowCount(int(loans.size()));
    for (int row = 0; row < int(loans.size()); ++row) {
        const Loan& loan = loans[size_t(row)];
        const int late = m_store.daysOverdue(loan);
        const QString due =
            late > 0 ? kOverdue.arg(dateText(loan.due)).arg(late) : dateText(loan.due);
        const QStringList cells = {loan.title,
                                   ShelfNames::name(loan.format),
                                   loan.borrower,
                                   LoanNames::name(loan.direction),
                                   dateText(loan.out),
                                   due,
                                   dateText(loan.returned)};
        for (int column = 0; column < int(cells.size()); ++column) {
            m_table->setItem(row, column, new QTableWidgetItem(cells.at(column)));
        }
    }
    m_table->setColumnHidden(kReturnedColumn, filter.openOnly);
    m_table->resizeColumnsToContents();
}
