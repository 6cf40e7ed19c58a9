#include "core/catalogue/statements.h"

#include "core/report/failure.h"

namespace Statements {

namespace {

const QString kNotARowId = QStringLiteral("The row id \"%1\" is not a whole number.");

// The row id goes into a statement unquoted, so anything but a whole number
// would change what the statement means: a catalogue made elsewhere may hold
// the text "id" there, and "where id=id" matches every row.
const QString& rowId(const QString& id) {
    qsizetype i = id.startsWith(QLatin1Char('-')) ? 1 : 0;
    bool digits = i < id.size();
    for (; digits && i < id.size(); ++i) {
        digits = id.at(i) >= QLatin1Char('0') && id.at(i) <= QLatin1Char('9');
    }
    if (!digits) {
        throw Failure(kNotARowId.arg(id));
    }
    return id;
}

} // namespace

QString quoted(const QString& value) {
    QString out = value;
    out.replace(QLatin1Char('\''), QStringLiteral("''"));
    return out;
}

QString readOne(const QString& id) {
    return QStringLiteral("select * from dvd where id=") + rowId(id);
}

QString addOne(const DvdRecord& movie) {
    QString text = QStringLiteral("insert into [dvd] ([title],[year],[genre],[cast],[director],"
                                  "[runtime],[rating],[studio]) values ('");
    for (int i = 0; i < DvdRecord::kFieldCount; ++i) {
        if (i > 0) {
            text += QStringLiteral("','");
        }
        text += quoted(movie.field(i));
    }
    return text + QStringLiteral("')");
}

QString changeOne(const DvdRecord& movie) {
    const QString& id = rowId(movie.id);
    QString text = QStringLiteral("update [dvd] set [title]='") + quoted(movie.title);
    for (int i = 1; i < DvdRecord::kFieldCount; ++i) {
        text += QStringLiteral("',[") + kDvdColumns[std::size_t(i)] + QStringLiteral("]='") +
                quoted(movie.field(i));
    }
    return text + QStringLiteral("' where id=") + id;
}

QString addBoundRows(int rows) {
    QString text = kAddBound;
    for (int row = 1; row < rows; ++row) {
        text += QStringLiteral(",(");
        for (int field = 1; field <= DvdRecord::kFieldCount; ++field) {
            text += QStringLiteral("?%1%2")
                        .arg(row * DvdRecord::kFieldCount + field)
                        .arg(field < DvdRecord::kFieldCount ? QStringLiteral(",") : QString());
        }
        text += QLatin1Char(')');
    }
    return text;
}

QString deleteOne(const QString& id) {
    return QStringLiteral("delete from dvd where id=") + rowId(id);
}

} // namespace Statements
