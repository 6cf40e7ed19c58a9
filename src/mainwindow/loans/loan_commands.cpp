#include "mainwindow/loans/loan_commands.h"

#include "core/catalogue/catalogue.h"
#include "core/catalogue/movie_column.h"
#include "core/report/failure.h"
#include "core/report/message_boxes.h"
#include "core/settings/config.h"
#include "core/shelf/shelf_store.h"
#include "mainwindow/list_view.h"
#include "mainwindow/loans/lend_dialog.h"
#include "mainwindow/loans/loan_notice.h"
#include "mainwindow/loans/loans_window.h"
#include "mainwindow/window_context.h"

#include <QAction>
#include <QInputDialog>
#include <QKeySequence>
#include <QSet>
#include <QTimer>
#include <QWindow>

namespace {

// Every letter of "Lend" is an access key of the Edit menu already.
const QString kLendEntry = QStringLiteral("Lend\u2026");
const QString kReturnEntry = QStringLiteral("Ret&urn");
const QString kLoansEntry = QStringLiteral("L&oans\u2026");
const QString kRefused = QStringLiteral("Not lent:\n%1");
const QString kRefusal = QStringLiteral("%1: %2");
const QString kOnLoanQuestion =
    QStringLiteral("On loan: %1.\nIts loan history is deleted with it. Delete it all the same?");
const QString kOnLoanTitle = QStringLiteral("Delete a Movie on Loan");
const QString kOnLoanItem = QStringLiteral("%1 (%2)");
const QString kLentTo = QStringLiteral("lent to %1");
const QString kBorrowedFrom = QStringLiteral("borrowed from %1");
const QString kReturnTitle = QStringLiteral("Return");
const QString kWhichCopy = QStringLiteral("Which copy comes back?");
const QString kCopyOut = QStringLiteral("%1, copy %2, %3 since %4");
// How long a loan runs when the setting is spoilt.
constexpr int kLoanDays = 21;

// Who has the loan's copy, as the questions say it: "lent to Sam".
QString withWhom(const Loan& loan) {
    return (loan.direction == LoanDirection::Lent ? kLentTo : kBorrowedFrom).arg(loan.borrower);
}

// The stored length of a loan in days; the usual one when it is no number above 0.
int loanDays(const QString& setting) {
    bool number = false;
    const int days = setting.toInt(&number);
    return number && days > 0 ? days : kLoanDays;
}

} // namespace

LoanCommands::LoanCommands(WindowContext& context)
    : WindowFeature(context, QStringLiteral("LoanCommands")),
      m_notice(new LoanNotice(context.window())) {
    m_lendEntry = addEntry(
        kLendEntry, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L), [this] { lend(); },
        BarMenu::Edit);
    m_returnEntry = addEntry(
        kReturnEntry, {}, [this] { giveBack(); }, BarMenu::Edit);
    m_loansEntry = addEntry(
        kLoansEntry, {}, [this] { openLoans(); }, BarMenu::Edit);
    connect(m_notice, &QPushButton::clicked, this, &LoanCommands::openLoans);
    context.addDeleteCheck([this](const QList<qint64>& movies) { return mayDelete(movies); });
    LoanCommands::updateEntries();
}

LoanCommands::~LoanCommands() = default;

LoanStore LoanCommands::store() const {
    return LoanStore(context().services().catalogue, m_clock);
}

void LoanCommands::updateEntries() {
    const bool open = context().services().catalogue.isOpen();
    const bool highlighted = open && context().highlightedMovie().has_value();
    m_lendEntry->setEnabled(open);
    m_returnEntry->setEnabled(highlighted);
    m_loansEntry->setEnabled(open);
}

void LoanCommands::start() {
    // The check reads every open loan: it waits until the window is on the
    // screen, so that the window shows as soon as it would without loans.
    QWindow* window = context().window().windowHandle();
    if (window && !window->isExposed()) {
        window->installEventFilter(this);
    } else {
        QTimer::singleShot(0, this, &LoanCommands::checkOverdue);
    }
}

bool LoanCommands::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Expose && watched == context().window().windowHandle()) {
        // The window paints as this event is handled; the check comes after.
        watched->removeEventFilter(this);
        QTimer::singleShot(0, this, &LoanCommands::checkOverdue);
    }
    return WindowFeature::eventFilter(watched, event);
}

void LoanCommands::checkOverdue() {
    Catalogue& catalogue = context().services().catalogue;
    if (!catalogue.isOpen()) {
        return;
    }
    try {
        LoanStore loans = store();
        if (!loans.hasTables()) {
            return;
        }
        LoanFilter overdue;
        overdue.overdueOnly = true;
        const int count = int(loans.loans(overdue).size());
        if (count > 0) {
            m_notice->showCount(count);
        } else {
            m_notice->hide();
        }
    } catch (const Failure&) {
        // A notice is no reason to stop the start; the loans show in Loans….
        m_notice->hide();
    }
}

bool LoanCommands::mayDelete(const QList<qint64>& movies) {
    MessageBoxes& boxes = context().services().boxes;
    QStringList out;
    try {
        LoanStore loans = store();
        if (!loans.hasTables()) {
            return true;
        }
        for (const qint64 movie : movies) {
            LoanFilter filter;
            filter.movieId = movie;
            for (const Loan& loan : loans.loans(filter)) {
                out << kOnLoanItem.arg(loan.title, withWhom(loan));
            }
        }
    } catch (const Failure& failure) {
        // Unread loans could be lost with the movie: it stays.
        boxes.warn(failure.description());
        return false;
    }
    return out.isEmpty() || boxes.askDefaultNo(kOnLoanQuestion.arg(out.join(QStringLiteral(", "))),
                                               kOnLoanTitle) == Answer::Yes;
}

void LoanCommands::lend() {
    if (!context().services().catalogue.isOpen() || !context().catchUp()) {
        return;
    }
    // The ticked movies in the order the list shows them, else the highlighted one.
    std::vector<LendMovie> movies;
    const MovieListModel& items = context().list().items();
    const auto movieAt = [&items](int row) {
        LendMovie movie;
        movie.id = items.cell(row, columnIndex(MovieColumn::Id)).toLongLong();
        movie.title = items.cell(row, columnIndex(MovieColumn::Title));
        return movie;
    };
    for (int row = 0; row < items.itemCount(); ++row) {
        if (items.isTicked(row)) {
            movies.push_back(movieAt(row));
        }
    }
    if (movies.empty()) {
        const std::optional<int> row = context().highlightedRow();
        if (!row) {
            return;
        }
        movies.push_back(movieAt(*row));
    }
    MessageBoxes& boxes = context().services().boxes;
    LoanStore loans = store();
    QStringList borrowers;
    try {
        QSet<qint64> out;
        if (loans.hasTables()) {
            for (const Borrower& borrower : loans.borrowers()) {
                borrowers << borrower.name;
            }
            for (const Loan& loan : loans.loans()) {
                out << loan.copyId;
            }
        }
        ShelfStore shelf(context().services().catalogue);
        for (LendMovie& movie : movies) {
            movie.copies = shelf.copies(movie.id);
            for (const ShelfCopy& copy : movie.copies) {
                if (out.contains(copy.id)) {
                    movie.copiesOut << copy.id;
                }
            }
        }
    } catch (const Failure& failure) {
        boxes.warn(failure.description());
        return;
    }
    Config settings(context().services().settings);
    const int days = loanDays(settings.get(Setting::LoanDays));
    LendDialog dialog(movies, borrowers, loans.today(), days, &context().window());
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    // Each movie is lent in one go or not at all; the refused ones are told together.
    QStringList refused;
    for (const LendMovie& movie : movies) {
        try {
            loans.lend(dialog.request(movie.id));
        } catch (const Failure& failure) {
            refused << kRefusal.arg(movie.title, failure.description());
        }
    }
    context().refresh();
    context().columnsChanged();
    if (!refused.isEmpty()) {
        boxes.warn(kRefused.arg(refused.join(QLatin1Char('\n'))));
    }
    if (dialog.days() > 0 && dialog.days() != days) {
        // The next loan runs as long as this one, unless changed again.
        try {
            settings.set(Setting::LoanDays, QString::number(dialog.days()));
        } catch (const Failure& failure) {
            boxes.warn(failure.description());
        }
    }
}

void LoanCommands::giveBack() {
    if (!context().catchUp()) {
        return;
    }
    const std::optional<qint64> movie = context().highlightedMovie();
    if (!movie) {
        return;
    }
    try {
        LoanStore loans = store();
        qint64 copy = 0;
        if (loans.hasTables()) {
            LoanFilter filter;
            filter.movieId = *movie;
            const std::vector<Loan> out = loans.loans(filter);
            if (out.size() > 1) {
                const std::optional<qint64> picked = copyComingBack(out);
                if (!picked) {
                    return;
                }
                copy = *picked;
            }
        }
        loans.giveBack(*movie, copy);
    } catch (const Failure& failure) {
        context().services().boxes.warn(failure.description());
        return;
    }
    context().refresh();
    context().columnsChanged();
}

std::optional<qint64> LoanCommands::copyComingBack(const std::vector<Loan>& out) {
    QStringList items;
    for (const Loan& loan : out) {
        items << kCopyOut.arg(ShelfNames::name(loan.format))
                     .arg(loan.copyId)
                     .arg(withWhom(loan), loan.out.toString(Qt::ISODate));
    }
    QInputDialog dialog(&context().window());
    dialog.setObjectName(QStringLiteral("ReturnCopy"));
    dialog.setWindowTitle(kReturnTitle);
    dialog.setLabelText(kWhichCopy);
    dialog.setComboBoxItems(items);
    dialog.setComboBoxEditable(false);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const qsizetype picked = items.indexOf(dialog.textValue());
    return picked < 0 ? std::nullopt : std::optional<qint64>(out[size_t(picked)].copyId);
}

void LoanCommands::openLoans() {
    if (!context().services().catalogue.isOpen()) {
        return;
    }
    if (m_loans) {
        m_loans->close();
    }
    m_notice->hide();
    // The highlighted movie's history is offered beside the open loans.
    const std::optional<qint64> movie = context().highlightedMovie();
    const QString title = movie ? context().list().items().cell(*context().highlightedRow(),
                                                                columnIndex(MovieColumn::Title))
                                : QString();
    try {
        m_loans = new LoansWindow(store(), context().services().boxes, movie.value_or(0), title,
                                  &context().window());
    } catch (const Failure& failure) {
        context().services().boxes.warn(failure.description());
        return;
    }
    m_loans->setAttribute(Qt::WA_DeleteOnClose);
    m_loans->show();
}
