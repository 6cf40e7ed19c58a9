#include "mainwindow/loans/loan_commands.h"

#include "core/catalogue/catalogue.h"
#include "core/catalogue/movie_column.h"
#include "core/report/failure.h"
#include "core/report/message_boxes.h"
#include "core/shelf/shelf_store.h"
#include "mainwindow/list_view.h"
#include "mainwindow/loans/lend_dialog.h"
#include "mainwindow/loans/loan_notice.h"
#include "mainwindow/loans/loans_window.h"
#include "mainwindow/window_context.h"

#include <QAction>
#include <QKeySequence>
#include <QTimer>
#include <QWindow>

namespace {

// Every letter of "Lend" is an access key of the Edit menu already.
const QString kLendEntry = QStringLiteral("Lend\u2026");
const QString kReturnEntry = QStringLiteral("Ret&urn");
const QString kLoansEntry = QStringLiteral("L&oans\u2026");
const QString kSeveral = QStringLiteral("%1 movies");
const QString kRefused = QStringLiteral("Not lent:\n%1");
const QString kRefusal = QStringLiteral("%1: %2");

struct Movie {
    qint64 id = 0;
    QString title;
};

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

void LoanCommands::lend() {
    if (!context().services().catalogue.isOpen() || !context().catchUp()) {
        return;
    }
    // The ticked movies in the order the list shows them, else the highlighted one.
    QList<Movie> movies;
    const MovieListModel& items = context().list().items();
    const auto movieAt = [&items](int row) {
        return Movie{items.cell(row, columnIndex(MovieColumn::Id)).toLongLong(),
                     items.cell(row, columnIndex(MovieColumn::Title))};
    };
    for (int row = 0; row < items.itemCount(); ++row) {
        if (items.isTicked(row)) {
            movies << movieAt(row);
        }
    }
    if (movies.isEmpty()) {
        const std::optional<int> row = context().highlightedRow();
        if (!row) {
            return;
        }
        movies << movieAt(*row);
    }
    MessageBoxes& boxes = context().services().boxes;
    Catalogue& catalogue = context().services().catalogue;
    LoanStore loans = store();
    QStringList borrowers;
    std::vector<ShelfCopy> copies;
    try {
        if (loans.hasTables()) {
            for (const Borrower& borrower : loans.borrowers()) {
                borrowers << borrower.name;
            }
        }
        if (movies.size() == 1) {
            copies = ShelfStore(catalogue).copies(movies.front().id);
        }
    } catch (const Failure& failure) {
        boxes.warn(failure.description());
        return;
    }
    const QString what = movies.size() == 1 ? movies.front().title : kSeveral.arg(movies.size());
    LendDialog dialog(what, borrowers, copies, loans.today(), &context().window());
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    // Each movie is lent in one go or not at all; the refused ones are told together.
    QStringList refused;
    for (const Movie& movie : movies) {
        LendRequest request = dialog.request();
        request.movieId = movie.id;
        try {
            loans.lend(request);
        } catch (const Failure& failure) {
            refused << kRefusal.arg(movie.title, failure.description());
        }
    }
    context().refresh();
    context().columnsChanged();
    if (!refused.isEmpty()) {
        boxes.warn(kRefused.arg(refused.join(QLatin1Char('\n'))));
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
        store().giveBack(*movie);
    } catch (const Failure& failure) {
        context().services().boxes.warn(failure.description());
        return;
    }
    context().refresh();
    context().columnsChanged();
}

void LoanCommands::openLoans() {
    if (!context().services().catalogue.isOpen()) {
        return;
    }
    if (m_loans) {
        m_loans->close();
    }
    m_notice->hide();
    LoanStore loans = store();
    try {
        m_loans = new LoansWindow(loans, &context().window());
    } catch (const Failure& failure) {
        context().services().boxes.warn(failure.description());
        return;
    }
    m_loans->setAttribute(Qt::WA_DeleteOnClose);
    m_loans->show();
}
