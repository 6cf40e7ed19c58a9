#include "core/import/value_checks.h"

#include "core/import/column_map.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

constexpr int kYearField = 1;
constexpr int kRuntimeField = 5;

const QString kNotAYear = QStringLiteral("year \"%1\" is not a year between %2 and %3");
const QString kNotARuntime =
    QStringLiteral("runtime \"%1\" is neither a time (h:mm) nor a number of minutes");

bool isYear(const QString& text, int lastYear) {
    if (text.isEmpty() ||
        !std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); })) {
        return false;
    }
    bool ok = false;
    const int year = text.toInt(&ok);
    return ok && year >= kFirstMovieYear && year <= lastYear;
}

bool isRuntime(const QString& text) {
    static const QRegularExpression kTime(QStringLiteral("^\\d{1,2}:[0-5]\\d(?::[0-5]\\d)?$"));
    // A number of minutes is what the minutes conversion rewrites.
    return kTime.match(text).hasMatch() || runtimeFromMinutes(text) != text;
}

} // namespace

QString wrongValueProblem(int field, const QString& value, int lastYear) {
    const QString text = value.trimmed();
    if (text.isEmpty()) {
        return {};
    }
    if (field == kYearField && !isYear(text, lastYear)) {
        // One arg() for all three, so that a value holding "%2" stays as it is.
        return kNotAYear.arg(value, QString::number(kFirstMovieYear), QString::number(lastYear));
    }
    if (field == kRuntimeField && !isRuntime(text)) {
        return kNotARuntime.arg(value);
    }
    return {};
}
