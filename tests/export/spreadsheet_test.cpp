#include "export/qt_printers.h"
#include "export/xlsx_reader.h"
#include "platform/failure.h"
#include "platform/spreadsheet_automation.h"
#include "platform/xlsx_check.h"
#include "platform/xlsx_file.h"
#include "support/spreadsheet_fakes.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

QString failureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Failure& failure) {
        return failure.description();
    }
    return {};
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files);
}

struct Automation {
    QTemporaryDir folder;
    FixedSpreadsheetFinder finder;
    RecordingLauncher launcher;
    SpreadsheetAutomation automation{finder, launcher, folder.path()};
};

TEST(Worksheet, CellsHoldTextWithinTheSheetAndFitTheirColumns) {
    Worksheet sheet(SheetLimits{4, 3});
    sheet.Cells(1, 1).setValue(QStringLiteral("ID"));
    sheet.Cells(1, 2).setValue(QStringLiteral("Title"));
    sheet.Cells(3, 2).setValue(QStringLiteral("The Long Goodbye"));
    EXPECT_EQ(sheet.Cells(3, 2).Value(), QStringLiteral("The Long Goodbye"));
    EXPECT_EQ(sheet.Cells(2, 3).Value(), QString());
    EXPECT_EQ(sheet.usedRows(), 3);
    EXPECT_EQ(sheet.usedColumns(), 2);

    // Outside the sheet, or longer than a cell holds: refused, with a reason.
    EXPECT_TRUE(failureOf([&] { sheet.Cells(5, 1); }).contains(QStringLiteral("Row 5")));
    EXPECT_TRUE(failureOf([&] { sheet.Cells(1, 4); }).contains(QStringLiteral("Column 4")));
    EXPECT_TRUE(failureOf([&] { sheet.Cells(0, 1); }).contains(QStringLiteral("Row 0")));
    EXPECT_FALSE(failureOf([&] {
                     sheet.Cells(4, 1).setValue(QString(kCellTextLimit + 1, QLatin1Char('x')));
                 }).isEmpty());
    sheet.Cells(4, 1).setValue(QString(kCellTextLimit, QLatin1Char('x')));

    // Fitting measures the texts as they are then, headers included.
    sheet.Columns().Autofit();
    EXPECT_EQ(sheet.fittedWidths(), (std::vector<int>{kCellTextLimit, 16}));
}

TEST(SpreadsheetAutomation, CreationLooksForTheProgramOnceAndFailsWithoutOne) {
    Automation a;
    a.finder.program.reset();
    const QString reason = failureOf([&] { a.automation.CreateObject(); });
    EXPECT_TRUE(reason.contains(QStringLiteral("No spreadsheet program")));
    EXPECT_EQ(a.finder.calls, 1);

    a.finder.program = SpreadsheetProgram{QStringLiteral("soffice"), {QStringLiteral("-n")}};
    auto app = a.automation.CreateObject();
    EXPECT_EQ(a.finder.calls, 2);
    app->Workbooks().Add();
    app->setVisible(true);
    EXPECT_EQ(a.finder.calls, 2); // showing does not look again
    EXPECT_TRUE(a.launcher.starts.size() == 1 && a.launcher.starts[0].program == "soffice");
}

TEST(SpreadsheetApplication, ShowingWritesEachWorkbookAsTextCellsAndOpensItAsNew) {
    Automation a;
    auto app = a.automation.CreateObject();
    Workbook& book = app->Workbooks().Add();
    Worksheet& sheet = book.ActiveSheet();
    const QStringList values = {QStringLiteral("=1+1"),
                                QStringLiteral("1999"),
                                QStringLiteral("0120"),
                                QStringLiteral("1e3"),
                                QStringLiteral("Line\nbreak, \"quoted\""),
                                QStringLiteral("Amélie _x0041_")};
    for (int c = 0; c < values.size(); ++c) {
        sheet.Cells(1, c + 1).setValue(values[c]);
    }
    sheet.Cells(3, 2).setValue(QStringLiteral("row three"));
    sheet.Columns().Autofit();
    EXPECT_TRUE(a.launcher.starts.isEmpty()); // nothing happens before showing
    EXPECT_FALSE(app->Visible());

    app->setVisible(true);
    EXPECT_TRUE(app->Visible());
    ASSERT_EQ(a.launcher.starts.size(), 1);
    EXPECT_EQ(a.launcher.starts[0].arguments, QStringList({QStringLiteral("-n"), book.fileName()}));
    EXPECT_TRUE(book.fileName().startsWith(a.folder.path() + QLatin1Char('/')));
    EXPECT_TRUE(book.fileName().endsWith(QStringLiteral(".xlsx")));

    // Every value reads back exactly: nothing was evaluated or taken for a number.
    const QList<QStringList> rows = readXlsxRows(book.fileName());
    ASSERT_EQ(rows.size(), 3);
    QStringList expected = values;
    expected[5] = QStringLiteral("Amélie _x005F_x0041_"); // the reader shows the file's escape
    EXPECT_EQ(rows[0], expected);
    EXPECT_TRUE(rows[1].isEmpty());
    EXPECT_EQ(rows[2], QStringList({QString(), QStringLiteral("row three")}));

    const QString xml = readSheetXml(book.fileName());
    EXPECT_FALSE(xml.contains(QStringLiteral("<f>"))); // no formula anywhere
    EXPECT_TRUE(xml.contains(QStringLiteral("<col min=\"1\" max=\"1\" width=\"5")));  // "=1+1"
    EXPECT_TRUE(xml.contains(QStringLiteral("<col min=\"2\" max=\"2\" width=\"10"))); // row three

    // Shown once: showing again opens nothing new; a workbook added later is
    // shown on the next request.
    app->setVisible(true);
    EXPECT_EQ(a.launcher.starts.size(), 1);
    app->Workbooks().Add().ActiveSheet().Cells(1, 1).setValue(QStringLiteral("second"));
    app->setVisible(true);
    ASSERT_EQ(a.launcher.starts.size(), 2);
    EXPECT_NE(a.launcher.lastFile(), book.fileName());
    EXPECT_EQ(readXlsxRows(a.launcher.lastFile()), QList<QStringList>({{"second"}}));
}

// Makes every file this process writes stop growing past a size, as a full
// disk would; restores the old limit when it ends.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limited = m_old;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

TEST(SpreadsheetApplication, AWorkbookThatCannotBeWrittenOrOpenedLeavesNoFileBehind) {
    Automation a;
    auto app = a.automation.CreateObject();
    Worksheet& sheet = app->Workbooks().Add().ActiveSheet();
    QRandomGenerator random(7);
    for (int row = 1; row <= 3000; ++row) {
        for (int column = 1; column <= 9; ++column) {
            sheet.Cells(row, column).setValue(QString::number(random.generate64(), 36));
        }
    }
    QString reason;
    {
        FileSizeLimit diskAlmostFull(64 * 1024);
        reason = failureOf([&] { app->setVisible(true); });
    }
    EXPECT_TRUE(reason.contains(QStringLiteral("could not be written"))) << reason.toStdString();
    EXPECT_TRUE(a.launcher.starts.isEmpty());
    EXPECT_EQ(filesIn(a.folder.path()), QStringList());

    // Written, but the program does not start: the file goes too.
    a.launcher.onStart = [](const QString&, const QStringList&) {
        throw Failure(QStringLiteral("The program soffice could not be started."));
    };
    EXPECT_EQ(failureOf([&] { app->setVisible(true); }),
              QStringLiteral("The program soffice could not be started."));
    EXPECT_EQ(filesIn(a.folder.path()), QStringList());

    // A folder that cannot take the file: a reason, nothing launched.
    SpreadsheetApplication nowhere(SpreadsheetProgram{QStringLiteral("soffice"), {}}, a.launcher,
                                   a.folder.path() + QStringLiteral("/missing"));
    nowhere.Workbooks().Add();
    EXPECT_TRUE(failureOf([&] { nowhere.setVisible(true); }).contains(QStringLiteral("missing")));
}

TEST(XlsxCheck, AcceptsWholeWorkbooksAndRefusesDamagedOnes) {
    QTemporaryDir dir;
    const auto file = [&](const QString& name) { return dir.filePath(name); };
    const auto save = [&](const QString& name, const QByteArray& bytes) {
        QFile out(file(name));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    };

    writeXlsxFile(Worksheet(), file("empty.xlsx")); // checked as it is written
    Worksheet sheet;
    for (int row = 1; row <= 300; ++row) {
        sheet.Cells(row, 1).setValue(QStringLiteral("Movie %1").arg(row));
        sheet.Cells(row, 2).setValue(QString::number(row * 7919 % 1000));
    }
    writeXlsxFile(sheet, file("full.xlsx"));
    QFile written(file("full.xlsx"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray whole = written.readAll();

    save("cut.xlsx", whole.left(whole.size() / 2));
    QByteArray damaged = whole;
    damaged[damaged.size() / 3] = char(damaged[damaged.size() / 3] ^ 0x55);
    save("damaged.xlsx", damaged);
    save("text.xlsx", "not a workbook");
    for (const char* name : {"cut.xlsx", "damaged.xlsx", "text.xlsx", "missing.xlsx"}) {
        EXPECT_FALSE(failureOf([&] { checkXlsxComplete(file(name)); }).isEmpty()) << name;
    }
    EXPECT_TRUE(failureOf([&] { checkXlsxComplete(file("full.xlsx")); }).isEmpty());
}

// A folder of stand-in programs for the finder to find.
class FakePrograms {
public:
    void add(const QString& name, const QByteArray& script = "exit 0\n") {
        QFile file(m_dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n" + script);
        file.close();
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    DesktopSpreadsheetFinder finder() const { return DesktopSpreadsheetFinder({m_dir.path()}); }

private:
    QTemporaryDir m_dir;
};

TEST(DesktopSpreadsheetFinder, PrefersLibreOfficeThenTheDesktopsXlsxProgram) {
    FakePrograms none;
    EXPECT_FALSE(none.finder().find().has_value());

    FakePrograms desktop;
    desktop.add(QStringLiteral("xdg-open"));
    desktop.add(QStringLiteral("xdg-mime"), "echo calc.desktop\n");
    std::optional<SpreadsheetProgram> found = desktop.finder().find();
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->executable, desktop.path(QStringLiteral("xdg-open")));
    EXPECT_TRUE(found->arguments.isEmpty());

    // LibreOffice wins, and is told to open the file as a new document.
    desktop.add(QStringLiteral("localc"));
    found = desktop.finder().find();
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->executable, desktop.path(QStringLiteral("localc")));
    EXPECT_EQ(found->arguments, QStringList({QStringLiteral("-n")}));

    // A desktop that names no program for .xlsx files has none.
    FakePrograms unset;
    unset.add(QStringLiteral("xdg-open"));
    unset.add(QStringLiteral("xdg-mime"), "echo\n");
    EXPECT_FALSE(unset.finder().find().has_value());
}

} // namespace
