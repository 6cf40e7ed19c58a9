#include "mainwindow/loans/loan_columns.h"

#include "core/loans/loan_store.h"
#include "mainwindow/services.h"
#include "mainwindow/window_context.h"

namespace {

using Cell = std::function<QString(const MovieOnLoan&)>;

// The words the find text knows a movie on loan by, beyond the text shown:
// `loan:out` for a copy lent out, `loan:borrowed` for one borrowed.
const QString kOutWord = QStringLiteral("out");
const QString kBorrowedWord = QStringLiteral("borrowed");

QString loanCell(const MovieOnLoan& movie) {
    QString cell = movie.text + kFindOnly;
    if (movie.lent) {
        cell += kOutWord + QLatin1Char(' ');
    }
    if (movie.borrowed) {
        cell += kBorrowedWord;
    }
    return cell;
}

QHash<qint64, QString> onLoan(Catalogue& catalogue, const Cell& cell) {
    const QHash<qint64, MovieOnLoan> loans = LoanStore(catalogue).onLoan();
    QHash<qint64, QString> cells;
    cells.reserve(loans.size());
    for (auto movie = loans.cbegin(); movie != loans.cend(); ++movie) {
        cells.insert(movie.key(), cell(movie.value()));
    }
    return cells;
}

} // namespace

LoanColumns::LoanColumns(WindowContext& context)
    : WindowFeature(context, QStringLiteral("LoanColumns")) {
    Catalogue& catalogue = context.services().catalogue;
    auto loan =
        std::make_unique<ComputedColumn>(QStringLiteral("loan"), QStringLiteral("On loan"),
                                         [&catalogue] { return onLoan(catalogue, loanCell); });
    loan->setStateWords({kOutWord, kBorrowedWord});
    m_columns.push_back(std::move(loan));
    m_columns.push_back(std::make_unique<ComputedColumn>(
        QStringLiteral("borrower"), QStringLiteral("Borrower"), [&catalogue] {
            return onLoan(catalogue, [](const MovieOnLoan& movie) {
                return movie.borrowers.join(QStringLiteral(", "));
            });
        }));
    for (const auto& column : m_columns) {
        context.addColumn(*column);
    }
}

LoanColumns::~LoanColumns() = default;
