#include "support/xlsx_reader.h"

#include <QProcess>
#include <gtest/gtest.h>

namespace {

QByteArray run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString()
                      << " failed: " << process.readAllStandardError().toStdString();
    }
    return process.readAllStandardOutput();
}

// Splits CSV text (fields quoted when they hold a comma, a quote or a line
// break; quotes doubled inside) into rows of fields.
QList<QStringList> parseCsv(const QString& text) {
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == '"' && quoted && i + 1 < text.size() && text.at(i + 1) == '"') {
            field += c;
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == ',' || c == '\n')) {
            row << field;
            field.clear();
            if (c == '\n') {
                while (!row.isEmpty() && row.last().isEmpty()) {
                    row.removeLast(); // empty cells at a row's end
                }
                rows << row;
                row.clear();
            }
        } else {
            field += c;
        }
    }
    return rows;
}

} // namespace

QList<QStringList> readXlsxRows(const QString& path) {
    return parseCsv(QString::fromUtf8(run(QStringLiteral("xlsx2csv"), {path})));
}

QString readXlsxCell(const QString& path, const QString& cell) {
    const QString script = QStringLiteral(
        "import re, sys, zipfile, xml.etree.ElementTree as tree\n"
        "ns = {'m': 'http://schemas.openxmlformats.org/spreadsheetml/2006/main'}\n"
        "sheet = tree.fromstring(zipfile.ZipFile(sys.argv[1]).read('xl/worksheets/sheet1.xml'))\n"
        "found = sheet.find(\".//m:c[@r='%s']\" % sys.argv[2], ns)\n"
        "text = '' if found is None else ''.join(found.itertext())\n"
        // A spreadsheet program reads _xHHHH_ as the character with that code.
        "text = re.sub('_x([0-9A-Fa-f]{4})_', lambda m: chr(int(m.group(1), 16)), text)\n"
        "sys.stdout.buffer.write(text.encode('utf-8', 'surrogatepass'))\n");
    return QString::fromUtf8(run(QStringLiteral("python3"), {"-c", script, path, cell}));
}

QString readSheetXml(const QString& path) {
    const QString script = QStringLiteral("import sys, zipfile\n"
                                          "sys.stdout.write(zipfile.ZipFile(sys.argv[1])"
                                          ".read('xl/worksheets/sheet1.xml').decode())\n");
    return QString::fromUtf8(run(QStringLiteral("python3"), {"-c", script, path}));
}
