#include "core/import/column_map.h"

namespace {

// The fields in their fixed order, as members, so that no index lookup can fail.
constexpr std::array<QString DvdRecord::*, DvdRecord::kFieldCount> kFields = {
    &DvdRecord::title,    &DvdRecord::year,    &DvdRecord::genre,  &DvdRecord::cast,
    &DvdRecord::director, &DvdRecord::runtime, &DvdRecord::rating, &DvdRecord::studio};

// The list's own caption of the rating column, which its workbook export writes.
const QString kRatingCaption = QStringLiteral("mpaa rating");
const QString kIdName = QStringLiteral("id");

QString normalised(const QString& text) {
    return text.trimmed().toCaseFolded();
}

// The field a header names, or -1.
int fieldNamed(const QString& name) {
    if (name == kRatingCaption) {
        return 6;
    }
    for (int field = 0; field < DvdRecord::kFieldCount; ++field) {
        if (name == kDvdColumns[std::size_t(field)]) {
            return field;
        }
    }
    return -1;
}

QString ignoredName(const QString& header, qsizetype column) {
    const QString trimmed = header.trimmed();
    return trimmed.isEmpty() ? QStringLiteral("column %1").arg(column + 1) : trimmed;
}

} // namespace

bool isKnownColumnName(const QString& text) {
    const QString name = normalised(text);
    return name == kIdName || fieldNamed(name) >= 0;
}

ColumnMap ColumnMap::fromHeader(const QStringList& header, const RowPlace& place) {
    ColumnMap map;
    for (qsizetype column = 0; column < header.size(); ++column) {
        const int field = fieldNamed(normalised(header[column]));
        if (field >= 0 && map.m_columnOf[std::size_t(field)] < 0) {
            map.m_columnOf[std::size_t(field)] = int(column);
        } else {
            map.m_ignored << ignoredName(header[column], column);
        }
    }
    if (map.m_columnOf[0] < 0) {
        QStringList shown;
        for (const QString& name : header) {
            if (shown.size() == 10) {
                shown << QStringLiteral("...");
                break;
            }
            shown << QStringLiteral("\"%1\"").arg(name.trimmed());
        }
        throw failureAt(ImportProblem::NoTitleColumn, place,
                        QStringLiteral("no column is named \"title\", so the movies cannot be "
                                       "told apart. The first row names: %1.")
                            .arg(shown.join(QStringLiteral(", "))));
    }
    return map;
}

ColumnMap ColumnMap::clipboardCopy() {
    ColumnMap map;
    for (int field = 0; field < DvdRecord::kFieldCount; ++field) {
        map.m_columnOf[std::size_t(field)] = field + 1;
    }
    map.m_ignored << QStringLiteral("ID");
    return map;
}

const QString& ColumnMap::value(const QStringList& cells, int field) const {
    static const QString kNone;
    const int column = m_columnOf[std::size_t(field)];
    return column >= 0 && column < cells.size() ? cells[column] : kNone;
}

QString ColumnMap::packedFields(const QStringList& cells) const {
    qsizetype length = DvdRecord::kFieldCount;
    for (int field = 0; field < DvdRecord::kFieldCount; ++field) {
        length += value(cells, field).size();
    }
    QString packed;
    packed.reserve(length);
    for (int field = 0; field < DvdRecord::kFieldCount; ++field) {
        packed += value(cells, field);
        packed += QChar(0);
    }
    return packed;
}

DvdRecord unpackFields(QStringView packed) {
    DvdRecord movie;
    qsizetype start = 0;
    for (const auto field : kFields) {
        const qsizetype end = packed.indexOf(QChar(0), start);
        if (end < 0) {
            break;
        }
        movie.*field = packed.sliced(start, end - start).toString();
        start = end + 1;
    }
    return movie;
}
