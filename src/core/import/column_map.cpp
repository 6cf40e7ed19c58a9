#include "core/import/column_map.h"

#include <QRegularExpression>
#include <algorithm>
#include <limits>

namespace {

// The fields in their fixed order, as members, so that no index lookup can fail.
constexpr std::array<QString DvdRecord::*, DvdRecord::kFieldCount> kFields = {
    &DvdRecord::title,    &DvdRecord::year,    &DvdRecord::genre,  &DvdRecord::cast,
    &DvdRecord::director, &DvdRecord::runtime, &DvdRecord::rating, &DvdRecord::studio};

constexpr int kTitleField = 0;
constexpr int kRuntimeField = 5;

// The clipboard copy's columns, named as the list captions them.
const QStringList kClipboardColumns = {
    QStringLiteral("ID"),      QStringLiteral("Title"),       QStringLiteral("Year"),
    QStringLiteral("Genre"),   QStringLiteral("Cast"),        QStringLiteral("Director"),
    QStringLiteral("Runtime"), QStringLiteral("MPAA Rating"), QStringLiteral("Studio")};

// The years a movie can have been made in, to tell a plain year from any
// other four digits.
constexpr int kFirstYear = 1850;
constexpr int kLastYear = 2199;

QString ignoredName(const QString& header, qsizetype column) {
    const QString trimmed = header.trimmed();
    return trimmed.isEmpty() ? QStringLiteral("column %1").arg(column + 1) : trimmed;
}

QString shownNames(const QStringList& header) {
    QStringList shown;
    for (const QString& name : header) {
        if (shown.size() == 10) {
            shown << QStringLiteral("...");
            break;
        }
        shown << QStringLiteral("\"%1\"").arg(name.trimmed());
    }
    return shown.join(QStringLiteral(", "));
}

bool isPlainYear(const QString& cell) {
    const QString text = cell.trimmed();
    bool ok = false;
    const int year = text.toInt(&ok);
    return ok && text.size() == 4 && text.front().isDigit() && year >= kFirstYear &&
           year <= kLastYear;
}

enum class CellKind { Empty, Number, Text };

CellKind kindOf(const QString& cell) {
    const QString text = cell.trimmed();
    if (text.isEmpty()) {
        return CellKind::Empty;
    }
    bool number = false;
    text.toDouble(&number);
    return number ? CellKind::Number : CellKind::Text;
}

// The cells without the empty ones at the end of the row.
qsizetype usedCells(const QStringList& cells) {
    qsizetype used = cells.size();
    while (used > 0 && cells[used - 1].trimmed().isEmpty()) {
        --used;
    }
    return used;
}

} // namespace

ColumnChoice ColumnChoice::parse(const QString& text) {
    const qsizetype equals = text.lastIndexOf(QLatin1Char('='));
    const QString column = text.left(equals).simplified();
    if (equals < 0 || column.isEmpty()) {
        throw Failure(QStringLiteral("--map takes COLUMN=FIELD (for example \"Running "
                                     "Time=runtime\" or \"2=year\"), not \"%1\".")
                          .arg(text));
    }
    const QString chosen = text.mid(equals + 1);
    const std::optional<int> field = fieldByName(chosen);
    if (!field) {
        throw Failure(QStringLiteral("--map %1: \"%2\" is no field; the fields are %3 and "
                                     "ignore.")
                          .arg(text, chosen.trimmed(), fieldNames().join(QStringLiteral(", "))));
    }
    ColumnChoice choice;
    choice.field = *field;
    bool isPosition = false;
    const int position = column.toInt(&isPosition);
    if (isPosition &&
        std::all_of(column.begin(), column.end(), [](QChar c) { return c.isDigit(); })) {
        if (position < 1) {
            throw Failure(QStringLiteral("--map %1: columns are counted from 1.").arg(text));
        }
        choice.position = position;
    } else {
        choice.header = column;
    }
    return choice;
}

ColumnMap ColumnMap::fromHeader(const QStringList& header, const RowPlace& place,
                                const ColumnOptions& options) {
    ColumnMap map;
    std::array<int, kColumnFieldCount> rankOf{};
    rankOf.fill(std::numeric_limits<int>::max());
    for (qsizetype column = 0; column < header.size(); ++column) {
        const HeaderMatch match = matchHeader(header[column]);
        if (match.field == HeaderMatch::kId && map.m_idColumn < 0) {
            map.m_idColumn = int(column);
        }
        if (match.field >= 0 && match.rank < rankOf[std::size_t(match.field)]) {
            map.m_columnOf[std::size_t(match.field)] = int(column);
            rankOf[std::size_t(match.field)] = match.rank;
        }
    }
    map.choose(header, options);
    if (map.m_columnOf[kTitleField] < 0 && !options.titleMayBeMissing) {
        throw failureAt(ImportProblem::NoTitleColumn, place,
                        QStringLiteral("no column is named \"title\", so the movies cannot be "
                                       "told apart. The first row names: %1.")
                            .arg(shownNames(header)));
    }
    return map;
}

ColumnMap ColumnMap::byPosition(qsizetype columns, const RowPlace& place,
                                const ColumnOptions& options) {
    for (const ColumnChoice& choice : options.choices) {
        if (choice.position == 0) {
            throw failureAt(ImportProblem::NoSuchColumn, place,
                            QStringLiteral("the file has no header row, so the column \"%1\" "
                                           "can only be chosen by its position.")
                                .arg(choice.header));
        }
    }
    ColumnMap map;
    map.m_hasHeader = false;
    for (int field = 0; field < DvdRecord::kFieldCount && field < columns; ++field) {
        map.m_columnOf[std::size_t(field)] = field;
    }
    map.choose(QStringList(columns), options);
    if (map.m_columnOf[kTitleField] < 0 && !options.titleMayBeMissing) {
        throw failureAt(ImportProblem::NoTitleColumn, place,
                        QStringLiteral("no column holds the title, so the movies cannot be told "
                                       "apart."));
    }
    return map;
}

ColumnMap ColumnMap::clipboardCopy(const ColumnOptions& options) {
    return fromHeader(kClipboardColumns, RowPlace{}, options);
}

void ColumnMap::choose(const QStringList& names, const ColumnOptions& options) {
    m_names = names;
    m_runtimeInMinutes = options.runtimeInMinutes;
    for (const ColumnChoice& choice : options.choices) {
        qsizetype column = choice.position - 1;
        if (choice.position == 0) {
            const QString wanted = normalisedColumnName(choice.header);
            column = std::find_if(names.begin(), names.end(),
                                  [&wanted](const QString& name) {
                                      return normalisedColumnName(name) == wanted;
                                  }) -
                     names.begin();
            if (column == names.size()) {
                throw ImportFailure(ImportProblem::NoSuchColumn,
                                    QStringLiteral("No column is named \"%1\"; the first row "
                                                   "names: %2.")
                                        .arg(choice.header, shownNames(names)));
            }
        } else if (column >= names.size()) {
            throw ImportFailure(ImportProblem::NoSuchColumn,
                                QStringLiteral("There is no column %1: the file has %2.")
                                    .arg(choice.position)
                                    .arg(names.size() == 1
                                             ? QStringLiteral("1 column")
                                             : QStringLiteral("%1 columns").arg(names.size())));
        }
        std::replace(m_columnOf.begin(), m_columnOf.end(), int(column), -1);
        if (choice.field >= 0) {
            m_columnOf[std::size_t(choice.field)] = int(column);
        }
    }
    for (qsizetype column = 0; column < names.size(); ++column) {
        if (std::find(m_columnOf.begin(), m_columnOf.end(), int(column)) == m_columnOf.end()) {
            m_ignored << ignoredName(names[column], column);
        }
    }
}

QString ColumnMap::value(const QStringList& cells, int field) const {
    const int column = m_columnOf[std::size_t(field)];
    if (column < 0 || column >= cells.size()) {
        return {};
    }
    return field == kRuntimeField && m_runtimeInMinutes ? runtimeFromMinutes(cells[column])
                                                        : cells[column];
}

bool ColumnMap::hasCopyColumns() const {
    return std::any_of(m_columnOf.begin() + kFirstCopyField, m_columnOf.end(),
                       [](int column) { return column >= 0; });
}

QStringList ColumnMap::copyValues(const QStringList& cells) const {
    QStringList values;
    values.reserve(kCopyFieldCount);
    for (int field = kFirstCopyField; field < kColumnFieldCount; ++field) {
        values << value(cells, field);
    }
    return values;
}

void ColumnMap::packFieldsUtf8(const QStringList& cells, QByteArray& out) const {
    out.resize(0); // keeps its room
    for (int field = 0; field < DvdRecord::kFieldCount; ++field) {
        const QString text = value(cells, field);
        // Plain ASCII, the bulk of a movie list, is narrowed without the general encoder.
        const qsizetype at = out.size();
        out.resize(at + text.size());
        char* bytes = out.data() + at;
        for (const QChar c : text) {
            if (c.unicode() >= 0x80) {
                out.truncate(at);
                out += text.toUtf8();
                break;
            }
            *bytes++ = char(c.unicode());
        }
        out += '\0';
    }
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

QString runtimeFromMinutes(const QString& text) {
    static const QRegularExpression kMinutes(
        QStringLiteral("^\\s*(\\d{1,6})\\s*(?:m|min|mins|minute|minutes)?\\.?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = kMinutes.match(text);
    if (!match.hasMatch()) {
        return text;
    }
    const int minutes = match.captured(1).toInt();
    return QStringLiteral("%1:%2").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

bool namesAColumn(const QStringList& cells, const ColumnOptions& options) {
    return std::any_of(cells.begin(), cells.end(), [&options](const QString& cell) {
        const QString name = normalisedColumnName(cell);
        return isKnownColumnName(cell) ||
               std::any_of(options.choices.begin(), options.choices.end(),
                           [&name](const ColumnChoice& choice) {
                               return choice.position == 0 &&
                                      normalisedColumnName(choice.header) == name;
                           });
    });
}

bool looksLikeData(const QStringList& first, const QStringList& next) {
    if (std::any_of(first.begin(), first.end(), isPlainYear)) {
        return true;
    }
    const qsizetype used = usedCells(first);
    if (used == 0 || used != usedCells(next)) {
        return false;
    }
    for (qsizetype column = 0; column < used; ++column) {
        const CellKind a = kindOf(first[column]);
        const CellKind b = kindOf(next[column]);
        if (a != b && a != CellKind::Empty && b != CellKind::Empty) {
            return false;
        }
    }
    return true;
}
