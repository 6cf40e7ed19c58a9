#include "core/import/sheet_choice.h"

#include "core/import/import_failure.h"

QString quotedSheetNames(const QStringList& names) {
    QStringList quoted;
    for (const QString& name : names) {
        quoted << QStringLiteral("\"%1\"").arg(name);
    }
    return quoted.join(QStringLiteral(", "));
}

QString chooseSheet(const QStringList& withData, const QString& asked, const QString& first) {
    if (asked.isEmpty()) {
        return withData.isEmpty() ? first : withData.constFirst();
    }
    if (withData.contains(asked)) {
        return asked;
    }
    const QString sheets =
        withData.isEmpty()
            ? QStringLiteral("it has no sheet with data")
            : QStringLiteral("its sheets with data are %1").arg(quotedSheetNames(withData));
    throw ImportFailure(
        ImportProblem::NoSuchSheet,
        QStringLiteral("The workbook has no sheet \"%1\" with data; %2.").arg(asked, sheets));
}
