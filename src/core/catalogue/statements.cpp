#include "core/catalogue/statements.h"

namespace Statements {

QString quoted(const QString& value) {
    QString out = value;
    out.replace(QLatin1Char('\''), QStringLiteral("''"));
    return out;
}

QString readOne(const QString& id) {
    return QStringLiteral("select * from dvd where id=") + id;
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
    QString text = QStringLiteral("update [dvd] set [title]='") + quoted(movie.title);
    for (int i = 1; i < DvdRecord::kFieldCount; ++i) {
        text += QStringLiteral("',[") + kDvdColumns[std::size_t(i)] + QStringLiteral("]='") +
                quoted(movie.field(i));
    }
    return text + QStringLiteral("' where id=") + movie.id;
}

QString deleteOne(const QString& id) {
    return QStringLiteral("delete from dvd where id=") + id;
}

} // namespace Statements
