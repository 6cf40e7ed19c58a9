#include "support/xlsx_reader.h"

#include "support/zip_files.h"

#include <QMap>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

const QString kSheetPart = QStringLiteral("xl/worksheets/sheet1.xml");
const QString kSharedStringsPart = QStringLiteral("xl/sharedStrings.xml");

struct CellPlace {
    int row = 0;
    int column = 0; // both 1-based
};

// "AB12" -> row 12, column 28.
CellPlace placeOf(const QString& reference) {
    CellPlace place;
    for (const QChar c : reference) {
        if (c.isLetter()) {
            place.column = place.column * 26 + (c.toUpper().unicode() - 'A' + 1);
        } else {
            place.row = place.row * 10 + c.digitValue();
        }
    }
    return place;
}

// The text of every <t> inside the element the reader stands on, to its end.
QString textsInside(QXmlStreamReader& xml) {
    QString text;
    for (int depth = 1; depth > 0 && !xml.atEnd();) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("t")) {
            text += xml.readElementText();
        } else if (xml.isStartElement()) {
            ++depth;
        } else if (xml.isEndElement()) {
            --depth;
        }
    }
    return text;
}

QStringList sharedStrings(const QString& path) {
    QStringList strings;
    if (!zipHasPart(path, kSharedStringsPart)) {
        return strings; // every text is stored in its cell
    }
    QXmlStreamReader xml(readZipPart(path, kSharedStringsPart));
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("si")) {
            strings << textsInside(xml);
        }
    }
    return strings;
}

// Every cell of the first sheet by its place, row by row.
QMap<int, QMap<int, QString>> sheetCells(const QString& path) {
    const QStringList shared = sharedStrings(path);
    QMap<int, QMap<int, QString>> rows;
    QXmlStreamReader xml(readZipPart(path, kSheetPart));
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement() || xml.name() != QLatin1String("c")) {
            continue;
        }
        const CellPlace place = placeOf(xml.attributes().value(QLatin1String("r")).toString());
        const bool isShared = xml.attributes().value(QLatin1String("t")) == QLatin1String("s");
        QString text;
        for (int depth = 1; depth > 0 && !xml.atEnd();) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("v")) {
                const QString value = xml.readElementText();
                text += isShared ? shared.value(value.toInt()) : value;
            } else if (xml.isStartElement() && xml.name() == QLatin1String("is")) {
                text += textsInside(xml);
            } else if (xml.isStartElement()) {
                ++depth;
            } else if (xml.isEndElement()) {
                --depth;
            }
        }
        rows[place.row][place.column] = text;
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return rows;
}

} // namespace

QList<QStringList> readXlsxRows(const QString& path) {
    const QMap<int, QMap<int, QString>> cells = sheetCells(path);
    QList<QStringList> rows(cells.isEmpty() ? 0 : cells.lastKey());
    for (auto row = cells.begin(); row != cells.end(); ++row) {
        QStringList& texts = rows[row.key() - 1];
        for (auto cell = row->begin(); cell != row->end(); ++cell) {
            while (texts.size() < cell.key()) {
                texts << QString();
            }
            texts[cell.key() - 1] = cell.value();
        }
        while (!texts.isEmpty() && texts.last().isEmpty()) {
            texts.removeLast();
        }
    }
    return rows;
}

QString readXlsxCell(const QString& path, const QString& cell) {
    const CellPlace place = placeOf(cell);
    QString text = sheetCells(path).value(place.row).value(place.column);
    // A spreadsheet program reads _xHHHH_ as the character with that code.
    static const QRegularExpression escape(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    QString decoded;
    qsizetype from = 0;
    for (auto it = escape.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        decoded += text.mid(from, m.capturedStart() - from);
        decoded += QChar(char16_t(m.captured(1).toUShort(nullptr, 16)));
        from = m.capturedEnd();
    }
    return decoded + text.mid(from);
}

QString readSheetXml(const QString& path) {
    return QString::fromUtf8(readZipPart(path, kSheetPart));
}
