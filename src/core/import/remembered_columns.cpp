#include "core/import/remembered_columns.h"

#include "core/import/column_names.h"
#include "core/import/import_plan.h"
#include "core/settings/settings.h"

#include <QCryptographicHash>

namespace {

const QString kGroup = QStringLiteral("ImportColumns/");
const QLatin1Char kSeparator(',');
// Enough of the hash to tell header rows apart.
constexpr qsizetype kHashDigits = 16;

} // namespace

QString rememberedColumnsKey(const QStringList& headers) {
    QStringList names;
    for (const QString& header : headers) {
        names << normalisedColumnName(header); // never holds a line break
    }
    const QByteArray hash =
        QCryptographicHash::hash(names.join(QLatin1Char('\n')).toUtf8(), QCryptographicHash::Sha1);
    return kGroup + QString::fromLatin1(hash.toHex().left(kHashDigits));
}

std::optional<std::vector<int>> rememberedFields(SettingsStore& settings,
                                                 const QStringList& headers) {
    const QString stored = settings.value(rememberedColumnsKey(headers), {});
    const QStringList names = stored.split(kSeparator);
    if (stored.isEmpty() || names.size() != headers.size()) {
        return std::nullopt;
    }
    std::vector<int> fields;
    for (const QString& name : names) {
        const std::optional<int> field = fieldByName(name);
        if (!field) {
            return std::nullopt;
        }
        fields.push_back(*field);
    }
    return fields;
}

void rememberFields(SettingsStore& settings, const QStringList& headers,
                    const std::vector<int>& fields) {
    QStringList names;
    for (const int field : fields) {
        names << fieldName(field);
    }
    settings.setValue(rememberedColumnsKey(headers), names.join(kSeparator));
}

QStringList headersOf(const ImportPlan& plan) {
    QStringList headers;
    for (const PlanColumn& column : plan.columns) {
        headers << column.header;
    }
    return headers;
}

std::vector<int> fieldsOf(const ImportPlan& plan) {
    std::vector<int> fields;
    for (const PlanColumn& column : plan.columns) {
        fields.push_back(column.field);
    }
    return fields;
}

std::vector<ColumnChoice> choicesByPosition(const std::vector<int>& fields) {
    std::vector<ColumnChoice> choices;
    for (std::size_t column = 0; column < fields.size(); ++column) {
        ColumnChoice choice;
        choice.position = int(column) + 1;
        choice.field = fields[column];
        choices.push_back(choice);
    }
    return choices;
}
