// For any eight field values, the add and change statements store exactly
// those values in a scratch catalogue and nothing else; values that cannot
// be stored exactly are refused and leave the catalogue as it was.
#include "core/catalogue/catalogue_schema.h"
#include "core/catalogue/connection.h"
#include "core/catalogue/statements.h"
#include "core/report/failure.h"

#include <QStringList>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

Connection& scratch() {
    static Connection* conn = [] {
        auto* c = new Connection;
        c->open(QStringLiteral(":memory:"));
        c->execute(QString::fromLatin1(kCatalogueSchema));
        return c;
    }();
    return *conn;
}

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "fuzz_statements: %s\n", what);
    std::abort();
}

QStringList storedRows(Connection& conn) {
    Recordset rs;
    rs.open(QStringLiteral("select * from dvd order by id"), conn);
    QStringList rows;
    while (!rs.atEnd()) {
        QStringList cells;
        for (const QString& column : kDvdColumns) {
            cells << rs.value(column);
        }
        rows << cells.join(QChar(0x1f));
        rs.next();
    }
    rs.close();
    return rows;
}

QString idOfOnlyRow(Connection& conn) {
    Recordset rs;
    rs.open(QStringLiteral("select id from dvd"), conn);
    return rs.atEnd() ? QString() : rs.value(QStringLiteral("id"));
}

bool storable(const DvdRecord& rec) {
    for (int i = 0; i < DvdRecord::kFieldCount; ++i) {
        if (rec.field(i).contains(QChar(0))) {
            return false;
        }
    }
    return true;
}

QString joined(const DvdRecord& rec) {
    QStringList cells;
    for (int i = 0; i < DvdRecord::kFieldCount; ++i) {
        cells << rec.field(i);
    }
    return cells.join(QChar(0x1f));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Fields are separated by the byte 0x1f; the text is read as UTF-8.
    const QList<QByteArray> parts =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)).split('\x1f');
    DvdRecord rec;
    for (int i = 0; i < DvdRecord::kFieldCount && i < parts.size(); ++i) {
        rec.field(i) = QString::fromUtf8(parts[i]);
    }
    DvdRecord reversed;
    for (int i = 0; i < DvdRecord::kFieldCount; ++i) {
        reversed.field(i) = rec.field(DvdRecord::kFieldCount - 1 - i);
    }

    Connection& conn = scratch();
    conn.execute(Statements::kDeleteAll);
    const bool expectStored = storable(rec);
    try {
        conn.execute(Statements::addOne(rec));
        if (!expectStored) {
            fail("a value with a NUL was stored");
        }
    } catch (const Failure&) {
        if (expectStored) {
            fail("a storable add was refused");
        }
        if (!storedRows(conn).isEmpty()) {
            fail("a refused add stored something");
        }
        return 0;
    }
    if (storedRows(conn) != QStringList{joined(rec)}) {
        fail("the add stored other values");
    }
    reversed.id = idOfOnlyRow(conn);
    conn.execute(Statements::changeOne(reversed));
    if (storedRows(conn) != QStringList{joined(reversed)}) {
        fail("the change stored other values");
    }
    return 0;
}
