#include "core/catalogue/catalogue_location.h"
#include "mainwindow/list_view.h"
#include "support/form1_harness.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <gtest/gtest.h>

namespace {

bool hasReportAt(const ScriptedMessageBoxes& boxes, const QString& location, int line) {
    for (const auto& box : boxes.errorReports()) {
        if (box.text.contains(QStringLiteral("in Reelkeeper2021/08/31.") + location +
                              QStringLiteral(" at line ") + QString::number(line) +
                              QLatin1Char('\r'))) {
            return true;
        }
    }
    return false;
}

void closeWindow(Form1& form) {
    QCloseEvent close;
    QCoreApplication::sendEvent(&form, &close);
}

TEST(Startup, FirstStartCreatesFoldersCopiesTheTemplateAndOpens) {
    Form1Harness h;
    TempCatalogue::createCatalogue(h.dirs.templateFile());
    TempCatalogue::addTitles(h.dirs.templateFile(), {QStringLiteral("From the template")});
    h.form->Form_Load();

    EXPECT_EQ(h.boxes.count(), 0) << h.boxes.last().text.toStdString();
    EXPECT_TRUE(QFile::exists(h.catalogue()));
    EXPECT_TRUE(h.movies.isOpen());
    EXPECT_EQ(h.form->windowTitle(), QStringLiteral("Reelkeeper"));
    EXPECT_EQ(h.boxes.appTitle(), QStringLiteral("Reelkeeper"));
    ListView& list = h.form->ListView1();
    ASSERT_EQ(list.items().itemCount(), 1);
    EXPECT_EQ(list.items().cell(0, 1), QStringLiteral("From the template"));

    const QStringList headers = {
        QStringLiteral("ID"),      QStringLiteral("Title"),       QStringLiteral(" Year"),
        QStringLiteral("Genre"),   QStringLiteral("Cast"),        QStringLiteral("Director"),
        QStringLiteral("Runtime"), QStringLiteral("MPAA Rating"), QStringLiteral("Studio")};
    ASSERT_EQ(list.columnHeaderCount(), 9);
    for (int c = 0; c < 9; ++c) {
        EXPECT_EQ(list.items().columnText(c), headers[c]);
        EXPECT_FLOAT_EQ(list.columnHeaderWidth(c), c == 0 ? 0.0f : 1400.0f);
    }
    EXPECT_EQ(list.header()->sectionSize(0), 0);
    EXPECT_FALSE(h.form->mLayoutMaximized);
}

// A new account may have no data folder at all yet.
TEST(Startup, FirstStartMakesAMissingDataFolderToo) {
    Form1Harness h;
    QDir(h.dirs.dataFolder()).removeRecursively();
    TempCatalogue::createCatalogue(h.dirs.templateFile());
    h.form->Form_Load();
    EXPECT_EQ(h.boxes.count(), 0) << h.boxes.last().text.toStdString();
    EXPECT_TRUE(QFile::exists(h.catalogue()));
    EXPECT_TRUE(h.movies.isOpen());
}

TEST(Startup, PresentCatalogueIsUsedAsItIsWithoutTheTemplate) {
    Form1Harness h;
    h.dirs.createInstalledCatalogue();
    TempCatalogue::addTitles(h.catalogue(), {QStringLiteral("Mine")});
    const QByteArray before = [&] {
        QFile f(h.catalogue());
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    h.form->Form_Load();
    EXPECT_EQ(h.boxes.count(), 0);
    EXPECT_FALSE(QFile::exists(h.dirs.templateFile()));
    EXPECT_EQ(h.form->ListView1().items().itemCount(), 1);
    QFile f(h.catalogue());
    f.open(QIODevice::ReadOnly);
    EXPECT_EQ(f.readAll(), before);
}

TEST(Startup, MissingCatalogueAndTemplateSayWhichAndEndWithoutSettings) {
    Form1Harness h;
    EXPECT_THROW(h.form->Form_Load(), ProgramEnded);
    EXPECT_EQ(h.programEnd.ends, 1);
    ASSERT_EQ(h.boxes.count(), 1);
    EXPECT_EQ(h.boxes.last().text,
              h.dirs.programFolder() + QStringLiteral("/dbDVD.mdb not found."));
    EXPECT_EQ(h.boxes.last().style, 0);
    EXPECT_EQ(h.boxes.last().title, QStringLiteral("Reelkeeper"));
    EXPECT_TRUE(h.settings.values.isEmpty());
    EXPECT_FALSE(h.movies.isOpen());
    // The folders were made; no catalogue appeared.
    EXPECT_TRUE(QDir(h.dirs.dataFolder() + QStringLiteral("/Tarnwick/Reelkeeper")).exists());
    EXPECT_FALSE(QFile::exists(h.catalogue()));
}

TEST(Startup, FileWhereTheMakerFolderShouldBeIsReportedAndStartGoesOn) {
    Form1Harness h;
    TempCatalogue::createCatalogue(h.dirs.templateFile());
    QFile blocker(h.dirs.dataFolder() + QStringLiteral("/Tarnwick"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    h.form->Form_Load();

    EXPECT_TRUE(hasReportAt(h.boxes, QStringLiteral("Form1.Form_Load"), 110));
    EXPECT_TRUE(hasReportAt(h.boxes, QStringLiteral("Form1.Form_Load"), 120));
    EXPECT_TRUE(hasReportAt(h.boxes, QStringLiteral("Form1.Form_Load"), 178));
    EXPECT_TRUE(hasReportAt(h.boxes, QStringLiteral("modDVD.listDVD"), 106));
    EXPECT_FALSE(hasReportAt(h.boxes, QStringLiteral("Form1.Form_Load"), 106));
    EXPECT_EQ(h.programEnd.ends, 0);
    EXPECT_EQ(h.form->ListView1().items().itemCount(), 0);
    EXPECT_EQ(h.form->ListView1().columnHeaderCount(), 9);
    EXPECT_EQ(h.form->pointer().shape(), Pointer::Arrow);
    // Closing after the failed open still writes the settings and skips the close.
    closeWindow(*h.form);
    EXPECT_EQ(h.settings.values.value(QStringLiteral("WindowState")), QStringLiteral("0"));
    EXPECT_EQ(h.boxes.errorReports().size(), 4);
}

TEST(Startup, WidthsAndWindowStateRoundTripThroughTheSettings) {
    Form1Harness h;
    h.settings.values[QStringLiteral("ColumnHeaders1")] = QStringLiteral("900");
    h.settings.values[QStringLiteral("ColumnHeaders3")] = QStringLiteral("0");
    h.settings.values[QStringLiteral("ColumnHeaders9")] = QStringLiteral("2205");
    h.settings.values[QStringLiteral("WindowState")] = QStringLiteral("2");
    Form1& form = h.loaded();
    EXPECT_EQ(h.boxes.count(), 0);
    EXPECT_FLOAT_EQ(form.ListView1().columnHeaderWidth(0), 900.0f);
    EXPECT_FLOAT_EQ(form.ListView1().columnHeaderWidth(2), 0.0f);
    EXPECT_FLOAT_EQ(form.ListView1().columnHeaderWidth(8), 2205.0f);
    EXPECT_TRUE(form.windowState() & Qt::WindowMaximized);
    EXPECT_TRUE(form.mLayoutMaximized);

    form.ListView1().setColumnHeaderWidth(1, 3000.0f);
    form.setWindowState(Qt::WindowMinimized);
    closeWindow(form);
    EXPECT_EQ(h.programEnd.quits, 1);
    EXPECT_EQ(h.settings.values.value(QStringLiteral("ColumnHeaders1")), QStringLiteral("900"));
    EXPECT_EQ(h.settings.values.value(QStringLiteral("ColumnHeaders2")), QStringLiteral("3000"));
    EXPECT_EQ(h.settings.values.value(QStringLiteral("ColumnHeaders3")), QStringLiteral("0"));
    EXPECT_EQ(h.settings.values.value(QStringLiteral("ColumnHeaders4")), QStringLiteral("1400"));
    EXPECT_EQ(h.settings.values.value(QStringLiteral("WindowState")), QStringLiteral("1"));
    EXPECT_EQ(h.settings.values.size(), 10);
    EXPECT_FALSE(h.movies.isOpen());

    // The next start opens minimized, with the layout flag set.
    Form1Harness next;
    next.settings.values = h.settings.values;
    Form1& again = next.loaded();
    EXPECT_TRUE(again.windowState() & Qt::WindowMinimized);
    EXPECT_TRUE(again.mLayoutMaximized);
    EXPECT_FLOAT_EQ(again.ListView1().columnHeaderWidth(1), 3000.0f);
}

TEST(Startup, SettingsThatAreNotNumbersAreReportedAndDefaultsStay) {
    Form1Harness h;
    h.settings.values[QStringLiteral("ColumnHeaders1")] = QStringLiteral("abc");
    h.settings.values[QStringLiteral("ColumnHeaders2")] = QStringLiteral("1e9999");
    h.settings.values[QStringLiteral("ColumnHeaders3")] = QStringLiteral("-50");
    h.settings.values[QStringLiteral("WindowState")] = QStringLiteral("99999999999");
    Form1& form = h.loaded();

    const auto reports = h.boxes.errorReports();
    ASSERT_EQ(reports.size(), 4);
    EXPECT_TRUE(hasReportAt(h.boxes, QStringLiteral("Form1.Form_Load"), 168));
    EXPECT_TRUE(hasReportAt(h.boxes, QStringLiteral("Form1.Form_Load"), 172));
    EXPECT_TRUE(hasReportAt(h.boxes, QStringLiteral("Form1.Form_Load"), 182));
    EXPECT_TRUE(reports[0].text.startsWith(QStringLiteral("Type mismatch")));
    // The columns keep their widths from creation; the window stays normal.
    EXPECT_GT(form.ListView1().columnHeaderWidth(1), 0.0f);
    EXPECT_GT(form.ListView1().columnHeaderWidth(2), 0.0f);
    EXPECT_FALSE(form.windowState() & (Qt::WindowMaximized | Qt::WindowMinimized));
    EXPECT_FALSE(form.mLayoutMaximized);
    EXPECT_TRUE(h.movies.isOpen());

    // The next close writes sound values.
    closeWindow(form);
    for (int n = 1; n <= 9; ++n) {
        bool ok = false;
        const float width =
            h.settings.values.value(QStringLiteral("ColumnHeaders%1").arg(n)).toFloat(&ok);
        EXPECT_TRUE(ok && width >= 0.0f) << n;
    }
    EXPECT_EQ(h.settings.values.value(QStringLiteral("WindowState")), QStringLiteral("0"));
}

} // namespace

namespace {

// Any folder name the platform allows holds the catalogue, ";" and quotes too.
TEST(Startup, ADataFolderWithSemicolonsOrQuotesInItsPathWorks) {
    for (const char* name : {"/data;x=1", "/\"quoted; data\"", "/'single'"}) {
        Form1Harness h;
        Shell shell(h.dirs.programFolder(), h.dirs.root() + QString::fromUtf8(name));
        TempCatalogue::createCatalogue(h.dirs.templateFile());
        Form1 form(h.services(shell));
        form.Form_Load();
        EXPECT_EQ(h.boxes.count(), 0) << name << ": " << h.boxes.last().text.toStdString();
        form.PushButton7_Click();
        EXPECT_EQ(form.ListView1().items().itemCount(), 3) << name;
        EXPECT_EQ(TempCatalogue::rows(CatalogueLocation::catalogueFile(shell)).size(), 3) << name;
    }
}

} // namespace
