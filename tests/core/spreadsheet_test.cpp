#include "core/report/failure.h"
#include "core/spreadsheet/spreadsheet_automation.h"
#include "core/system/write_failure.h"
#include "support/qt_printers.h"
#include "support/spreadsheet_fakes.h"
#include "support/xlsx_reader.h"

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

struct Automation {
    QTemporaryDir folder;
    FixedSpreadsheetFinder finder;
    RecordingDocumentLauncher launcher;
    SpreadsheetAutomation automation{finder, launcher, folder.path()};
};

TEST(SpreadsheetApplication, ShowingWritesEachWorkbookOnceAsFittedTextCells) {
    Automation a;
    auto app = a.automation.createApplication();
    Workbook& book = app->Workbooks().Add();
    Worksheet& sheet = book.ActiveSheet();
    sheet.Cells(1, 1).setValue(QStringLiteral("=1+1"));
    sheet.Cells(1, 2).setValue(QStringLiteral("Amélie _x0041_"));
    sheet.Cells(3, 2).setValue(QStringLiteral("Line\nbreak, \"quoted\""));
    sheet.Columns().Autofit();
    EXPECT_TRUE(a.launcher.starts.isEmpty()); // nothing happens before showing

    app->setVisible(true);
    ASSERT_EQ(a.launcher.starts.size(), 1);
    EXPECT_EQ(a.launcher.starts[0].arguments, QStringList({"-n", book.fileName()}));
    EXPECT_TRUE(book.fileName().startsWith(a.folder.path() + "/Movies-"));
    EXPECT_EQ(readXlsxRows(book.fileName()),
              QList<QStringList>({{"=1+1", "Amélie _x005F_x0041_"}, // the file's own escape
                                  {},
                                  {"", "Line\nbreak, \"quoted\""}}));
    const QString xml = readSheetXml(book.fileName());
    EXPECT_FALSE(xml.contains("<f>")); // no formula anywhere
    EXPECT_TRUE(xml.contains(R"(<col min="1" max="1" width="5)"));
    EXPECT_TRUE(xml.contains(R"(<col min="2" max="2" width="21)"));

    // Showing again opens nothing new; a workbook added later is shown next time.
    app->setVisible(true);
    app->Workbooks().Add().ActiveSheet().Cells(1, 1).setValue(QStringLiteral("second"));
    app->setVisible(true);
    ASSERT_EQ(a.launcher.starts.size(), 2);
    EXPECT_EQ(readXlsxRows(a.launcher.lastFile()), QList<QStringList>({{"second"}}));
}

TEST(SpreadsheetApplication, CellsGoIntoTheFileRowByRowAndAnUnshownWorkbookLeavesNoFile) {
    Automation a;
    auto app = a.automation.createApplication();
    Worksheet& sheet = app->Workbooks().Add().ActiveSheet();
    EXPECT_EQ(QDir(a.folder.path()).entryList(QDir::Files).size(), 1); // the workbook's file
    sheet.Cells(2, 3).setValue(QStringLiteral("later"));
    sheet.Cells(2, 1).setValue(QStringLiteral("same row"));
    EXPECT_EQ(failureOf([&] { sheet.Cells(1, 1).setValue(QStringLiteral("earlier")); }),
              "Row 1 has been written already: a sheet is written from top to bottom.");
    app.reset(); // an export that stopped before showing
    EXPECT_TRUE(QDir(a.folder.path()).isEmpty());

    // Without a folder to write in, the sheet still takes its cells; showing
    // it says why it cannot be written.
    FixedSpreadsheetFinder finder;
    SpreadsheetAutomation nowhere(finder, a.launcher, a.folder.filePath("missing"));
    app = nowhere.createApplication();
    app->Workbooks().Add().ActiveSheet().Cells(1, 1).setValue(QStringLiteral("Alien"));
    EXPECT_TRUE(failureOf([&] {
                    app->setVisible(true);
                }).startsWith("No new workbook file can be made in "));
    EXPECT_TRUE(a.launcher.starts.isEmpty());
}

TEST(SpreadsheetApplication, ShownWorkbooksAreKeptADayThenRemovedAtALaterStart) {
    Automation a;
    auto app = a.automation.createApplication();
    app->Workbooks().Add().ActiveSheet().Cells(1, 1).setValue(QStringLiteral("Alien"));
    app->setVisible(true);
    const QString shown = a.launcher.lastFile();
    ASSERT_TRUE(QFile::exists(shown)); // the spreadsheet program may still read it
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const auto day = std::chrono::hours(24);
    a.automation.removeWorkbooksOlderThan(day, now);
    EXPECT_TRUE(QFile::exists(shown));

    // A day on, only the workbooks go; other files in the folder stay.
    const QString notes = a.folder.filePath(QStringLiteral("notes.txt"));
    QFile(notes).open(QIODevice::WriteOnly);
    a.automation.removeWorkbooksOlderThan(day, now.addSecs(25 * 3600));
    EXPECT_FALSE(QFile::exists(shown));
    EXPECT_TRUE(QFile::exists(notes));
}

// Makes every file this process writes stop growing past a size, as a full
// disk would, until it ends.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : m_oldHandler(std::signal(SIGXFSZ, SIG_IGN)) {
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
    void (*m_oldHandler)(int);
    rlimit m_old{};
};

TEST(SpreadsheetApplication, AWorkbookThatCannotBeWrittenOrOpenedLeavesNoFileBehind) {
    Automation a;
    auto app = a.automation.createApplication();
    Worksheet& sheet = app->Workbooks().Add().ActiveSheet();
    QRandomGenerator random(7);
    for (int row = 1; row <= 3000; ++row) {
        for (int column = 1; column <= 9; ++column) {
            sheet.Cells(row, column).setValue(QString::number(random.generate64(), 36));
        }
    }
    QString reason;
    {
        // The writing library does not notice this on its own: its scratch
        // files are cut short without an error.
        FileSizeLimit diskAlmostFull(64 * 1024);
        StderrCapture printed;
        reason = failureOf([&] { app->setVisible(true); });
        EXPECT_EQ(printed.end(), QByteArray()) << "the library's own lines stay off the terminal";
    }
    EXPECT_TRUE(reason.contains("could not be written: the disk is full or the file size limit "
                                "was reached"))
        << reason.toStdString();
    EXPECT_TRUE(a.launcher.starts.isEmpty());
    EXPECT_TRUE(QDir(a.folder.path()).isEmpty());

    // That workbook is given up; the next one cannot be opened.
    app->Workbooks().Add().ActiveSheet().Cells(1, 1).setValue(QStringLiteral("next"));
    a.launcher.onStart = [](const QString&, const QStringList&) {
        throw Failure(QStringLiteral("The program soffice could not be started."));
    };
    EXPECT_EQ(failureOf([&] { app->setVisible(true); }),
              "The program soffice could not be started.");
    EXPECT_EQ(a.launcher.starts.size(), 1);
    EXPECT_TRUE(QDir(a.folder.path()).isEmpty());
}

TEST(DesktopSpreadsheetFinder, PrefersLibreOfficeThenTheDesktopsXlsxProgram) {
    QTemporaryDir bin;
    const auto add = [&](const char* name, const QByteArray& script) {
        QFile file(bin.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n" + script);
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    };
    DesktopSpreadsheetFinder finder({bin.path()});
    EXPECT_FALSE(finder.find().has_value());

    // A desktop that names no .xlsx program has none; one that does, has it.
    add("xdg-open", "exit 0\n");
    add("xdg-mime", "echo\n");
    EXPECT_FALSE(finder.find().has_value());
    add("xdg-mime", "[ \"$1 $2\" = 'query default' ] && echo calc.desktop\n");
    std::optional<SpreadsheetProgram> found = finder.find();
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->executable, bin.filePath("xdg-open"));
    EXPECT_TRUE(found->arguments.isEmpty());

    // LibreOffice wins, told to open the file as a new document.
    add("localc", "exit 0\n");
    found = finder.find();
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->executable, bin.filePath("localc"));
    EXPECT_EQ(found->arguments, QStringList({"-n"}));
}

} // namespace
