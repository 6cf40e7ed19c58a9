#include "core/export/copy_rows.h"

#include "core/catalogue/catalogue.h"

namespace CopyRows {

const QStringList& csvHeader() {
    static const QStringList header = {
        QStringLiteral("copy_id"),  QStringLiteral("format"),    QStringLiteral("edition"),
        QStringLiteral("barcode"),  QStringLiteral("location"),  QStringLiteral("status"),
        QStringLiteral("discs"),    QStringLiteral("acquired"),  QStringLiteral("price"),
        QStringLiteral("currency"), QStringLiteral("condition"), QStringLiteral("note"),
        QStringLiteral("borrower"), QStringLiteral("due")};
    return header;
}

const QStringList& captions() {
    static const QStringList captions = {
        QStringLiteral("Copy ID"),  QStringLiteral("Format"),    QStringLiteral("Edition"),
        QStringLiteral("Barcode"),  QStringLiteral("Location"),  QStringLiteral("Status"),
        QStringLiteral("Discs"),    QStringLiteral("Acquired"),  QStringLiteral("Price"),
        QStringLiteral("Currency"), QStringLiteral("Condition"), QStringLiteral("Note"),
        QStringLiteral("Borrower"), QStringLiteral("Due")};
    return captions;
}

QStringList cells(const ShelfCopy& copy, const Loan* openLoan) {
    if (copy.id <= 0) {
        return QStringList(csvHeader().size());
    }
    return {QString::number(copy.id),
            ShelfNames::name(copy.format),
            copy.edition,
            copy.barcode,
            copy.location,
            ShelfNames::name(copy.status),
            copy.discs > 0 ? QString::number(copy.discs) : QString(),
            copy.acquired.toString(Qt::ISODate),
            copy.price,
            copy.currency,
            copy.condition,
            copy.note,
            openLoan != nullptr ? openLoan->borrower : QString(),
            openLoan != nullptr ? openLoan->due.toString(Qt::ISODate) : QString()};
}

QHash<qint64, std::vector<ShelfCopy>> byMovie(Catalogue& catalogue) {
    QHash<qint64, std::vector<ShelfCopy>> copies;
    for (ShelfCopy& copy : ShelfStore(catalogue).allCopies()) {
        copies[copy.movieId].push_back(std::move(copy));
    }
    return copies;
}

QHash<qint64, Loan> openLoans(Catalogue& catalogue) {
    QHash<qint64, Loan> open;
    LoanStore loans(catalogue);
    if (!loans.hasTables()) {
        return open;
    }
    for (const Loan& loan : loans.loans()) {
        open.insert(loan.copyId, loan);
    }
    return open;
}

} // namespace CopyRows
