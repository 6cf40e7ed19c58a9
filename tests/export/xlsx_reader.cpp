#include "export/xlsx_reader.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {

// Splits RFC 4180 text (fields quoted when they hold a comma, a quote or a
// line break; quotes doubled inside) into rows of fields.
QList<QStringList> parseCsv(const QString& text) {
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    bool rowHasContent = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() &&
                text.at(i + 1) == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
            rowHasContent = true;
        } else if (c == QLatin1Char(',')) {
            row << field;
            field.clear();
            rowHasContent = true;
        } else if (c == QLatin1Char('\n')) {
            if (rowHasContent || !field.isEmpty()) {
                row << field;
            }
            rows << row;
            row.clear();
            field.clear();
            rowHasContent = false;
        } else {
            field += c;
            rowHasContent = true;
        }
    }
    if (rowHasContent || !field.isEmpty()) {
        row << field;
        rows << row;
    }
    return rows;
}

QString runPython(const QString& script, const QStringList& arguments) {
    QProcess python;
    python.start(QStringLiteral("python3"), QStringList{QStringLiteral("-c"), script} + arguments);
    if (!python.waitForFinished(60000) || python.exitCode() != 0) {
        ADD_FAILURE() << "python3 failed: " << python.readAllStandardError().toStdString();
    }
    return QString::fromUtf8(python.readAllStandardOutput());
}

} // namespace

QList<QStringList> readXlsxRows(const QString& path) {
    QProcess reader;
    reader.start(QStringLiteral("xlsx2csv"), {path});
    if (!reader.waitForFinished(60000) || reader.exitStatus() != QProcess::NormalExit ||
        reader.exitCode() != 0) {
        ADD_FAILURE() << "xlsx2csv could not read " << path.toStdString() << ": "
                      << reader.readAllStandardError().toStdString()
                      << reader.errorString().toStdString();
        return {};
    }
    QList<QStringList> rows = parseCsv(QString::fromUtf8(reader.readAllStandardOutput()));
    for (QStringList& row : rows) {
        while (!row.isEmpty() && row.last().isEmpty()) {
            row.removeLast();
        }
    }
    return rows;
}

QString readXlsxCell(const QString& path, const QString& cell) {
    return runPython(
        QStringLiteral(
            "import sys, zipfile, xml.etree.ElementTree as tree\n"
            "ns = {'m': 'http://schemas.openxmlformats.org/spreadsheetml/2006/main'}\n"
            "sheet = "
            "tree.fromstring(zipfile.ZipFile(sys.argv[1]).read('xl/worksheets/sheet1.xml'))\n"
            "found = sheet.find(\".//m:c[@r='%s']\" % sys.argv[2], ns)\n"
            "sys.stdout.write('' if found is None else ''.join(found.itertext()))\n"),
        {path, cell});
}

QString readSheetXml(const QString& path) {
    return runPython(QStringLiteral("import sys, zipfile\n"
                                    "sys.stdout.write(zipfile.ZipFile(sys.argv[1])"
                                    ".read('xl/worksheets/sheet1.xml').decode())\n"),
                     {path});
}
