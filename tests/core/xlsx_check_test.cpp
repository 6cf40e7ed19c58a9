#include "core/formats/xlsx_check.h"
#include "core/report/failure.h"
#include "support/qt_printers.h"
#include "support/temp_catalogue.h"
#include "support/zip_files.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <xlsxwriter.h>

namespace {

const QString kSheet = QStringLiteral("xl/worksheets/sheet1.xml");
const QByteArray kSheetXml = "<?xml version=\"1.0\"?>\n<worksheet><sheetData>"
                             "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>Casablanca</t></is>"
                             "</c></row></sheetData></worksheet>\n";

QString failureOf(const QString& path) {
    try {
        checkXlsxComplete(path);
    } catch (const Failure& failure) {
        return failure.description();
    }
    return {};
}

class XlsxCheck : public ::testing::Test {
protected:
    QString path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
    QString write(const char* name, const QByteArray& bytes) const {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    // A workbook as the writing library makes it, with a row of texts.
    QString workbook() const {
        const QByteArray name = QFile::encodeName(path("book.xlsx"));
        lxw_workbook* book = workbook_new(name.constData());
        lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
        for (lxw_col_t column = 0; column < 9; ++column) {
            worksheet_write_string(sheet, 0, column, "Casablanca", nullptr);
        }
        EXPECT_EQ(workbook_close(book), LXW_NO_ERROR);
        return path("book.xlsx");
    }

    QTemporaryDir folder;
};

TEST_F(XlsxCheck, PassesAWholeWorkbook) {
    EXPECT_EQ(failureOf(workbook()), QString());
    const QString stored = path("stored.xlsx");
    writeZip(stored, {{kSheet, kSheetXml, true}, {"[Content_Types].xml", "<Types/>"}});
    EXPECT_EQ(failureOf(stored), QString());
}

TEST_F(XlsxCheck, RefusesWhatIsCutShortDamagedOrNoWorkbookAtAll) {
    const QByteArray whole = TempCatalogue::fileBytes(workbook());
    const QString flipped = path("flipped.xlsx");
    writeZip(flipped, {{kSheet, kSheetXml, true}});
    QByteArray bytes = TempCatalogue::fileBytes(flipped);
    bytes[bytes.indexOf("Casablanca")] = 'K'; // the part no longer matches its checksum
    const QString cutXml = path("cut-xml.xlsx");
    writeZip(cutXml, {{kSheet, kSheetXml.left(kSheetXml.size() - 20)}});
    const QString noXml = path("no-xml.xlsx");
    writeZip(noXml, {{kSheet, "just text"}});

    const struct {
        QString file;
        const char* expected;
    } cases[] = {
        {path("missing.xlsx"), "cannot be read"},
        {write("empty.xlsx", {}), "incomplete"},
        {write("text.xlsx", "not a workbook"), "incomplete"},
        {write("nothing.xlsx", QByteArray("PK\x05\x06", 4) + QByteArray(18, '\0')),
         "holds nothing"},
        {write("cut-end.xlsx", whole.left(whole.size() - 1)), "incomplete"},
        {write("cut-half.xlsx", whole.left(whole.size() / 2)), "incomplete"},
        {write("cut-start.xlsx", whole.left(40)), "incomplete"},
        {write("flipped.xlsx", bytes), "xl/worksheets/sheet1.xml does not match its checksum"},
        {cutXml, "xl/worksheets/sheet1.xml is cut short"},
        {noXml, "xl/worksheets/sheet1.xml holds no XML"},
    };
    for (const auto& c : cases) {
        const QString failure = failureOf(c.file);
        EXPECT_TRUE(failure.startsWith(QStringLiteral("The workbook file ")))
            << failure.toStdString();
        EXPECT_TRUE(failure.contains(QLatin1String(c.expected)))
            << c.expected << ": " << failure.toStdString();
    }
}

} // namespace
