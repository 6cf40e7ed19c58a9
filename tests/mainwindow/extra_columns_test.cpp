// The features' columns on the movie list: shown from the header's menu,
// read, sorted and remembered at the next start; hidden, the list as
// before; and the find words over them.
#include "core/covers/cover_store.h"
#include "core/lookup/lookup_links.h"
#include "mainwindow/covers/cover_commands.h"
#include "mainwindow/extra_columns.h"
#include "support/main_window_driver.h"
#include "support/qt_printers.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QImage>
#include <QMenu>

namespace {

constexpr int kFirstExtra = 9; // after the list's own nine columns

class ExtraColumnsTest : public ::testing::Test {
protected:
    void SetUp() override {
        h.start({"Brazil", "Alien", "Casino"});
        // Covers for Alien and Casino; Brazil looked up in two film databases.
        for (const char* title : {"Alien", "Casino"}) {
            CoverStore(h.movies).set(id(title), {QByteArray("png"), 1, 1, QStringLiteral("png")});
        }
        for (const char* source : {"Wikidata", "TMDb"}) {
            LookupLinks(h.movies).set({id("Brazil"), source, QStringLiteral("1"), {}, {}, {}});
        }
        listDVD(h.list(), h.movies, h.form->pointer(), h.boxes);
    }
    qint64 id(const char* title) {
        return h.cell(h.rowOf(QString::fromUtf8(title)), MovieColumn::Id).toLongLong();
    }
    static QAction& entry(MainWindowDriver& d, const char* caption) {
        for (QAction* action : d.form->findChild<ExtraColumns*>()->headerMenu().actions()) {
            if (action->text() == QString::fromUtf8(caption)) {
                return *action;
            }
        }
        throw std::runtime_error(caption);
    }
    static QStringList column(MainWindowDriver& d, int column) {
        const MovieListModel& items = d.list().items();
        QStringList cells;
        for (int row = 0; row < items.itemCount(); ++row) {
            cells << items.data(items.index(row, column), Qt::DisplayRole).toString();
        }
        return cells;
    }
    QStringList found(const char* text) {
        h.list().items().setFilterText(QString::fromUtf8(text));
        return h.column(MovieColumn::Title);
    }

    MainWindowDriver h;
    MovieListModel& items = h.list().items();
};

TEST_F(ExtraColumnsTest, AColumnShownFromTheHeaderMenuReadsSortsAndIsRememberedUntilHidden) {
    QAbstractItemModelTester tester(&items, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(items.columnCount(), kFirstExtra);
    EXPECT_EQ(h.list().header()->contextMenuPolicy(), Qt::CustomContextMenu);

    entry(h, "Looked up in").trigger();
    entry(h, "Cover").trigger(); // before the other, as the menu lists them
    EXPECT_EQ(items.headerData(kFirstExtra, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("Cover"));
    EXPECT_EQ(column(h, kFirstExtra), QStringList({"yes", "", "yes"}));
    EXPECT_EQ(column(h, kFirstExtra + 1), QStringList({"", "TMDb, Wikidata", ""}));
    h.form->ListView1_ColumnClick(kFirstExtra + 1);
    EXPECT_EQ(h.column(MovieColumn::Title), QStringList({"Brazil", "Alien", "Casino"}));
    h.list().header()->resizeSection(kFirstExtra, 50);
    EXPECT_EQ(h.settings.values.value(QStringLiteral("ExtraColumns/cover")), QStringLiteral("1"));

    MainWindowDriver next;
    next.settings.values = h.settings.values;
    next.form = std::make_unique<Form1>(next.services(next.shell));
    next.start({"Ran"});
    EXPECT_EQ(next.list().items().columnCount(), kFirstExtra + 2);
    EXPECT_TRUE(entry(next, "Cover").isChecked());
    EXPECT_EQ(next.list().header()->sectionSize(kFirstExtra), 50);
    EXPECT_EQ(column(next, kFirstExtra), QStringList({""}));

    entry(h, "Cover").trigger(); // the sorted-by column goes; the rows stay as they are
    EXPECT_FALSE(h.list().Sorted());
    EXPECT_EQ(h.column(MovieColumn::Title), QStringList({"Brazil", "Alien", "Casino"}));
    entry(h, "Looked up in").trigger();
    EXPECT_EQ(items.columnCount(), kFirstExtra);
    EXPECT_EQ(h.settings.values.value(QStringLiteral("ExtraColumns/cover")), QStringLiteral("0"));
}

TEST_F(ExtraColumnsTest, FindWordsNameTheColumnsShownOrNotAndFollowAChangedCover) {
    EXPECT_EQ(found("cover:yes"), QStringList({"Alien", "Casino"}));
    EXPECT_EQ(found("cover:no"), QStringList({"Brazil"}));
    EXPECT_EQ(found("lookup:tmdb OR -cover:yes"), QStringList({"Brazil"}));
    EXPECT_EQ(found("-lookup:wiki cover:y"), QStringList({"Alien", "Casino"}));
    EXPECT_EQ(items.columnCount(), kFirstExtra);

    EXPECT_EQ(found("cover:no"), QStringList({"Brazil"}));
    entry(h, "Cover").trigger();
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(h.form->findChild<CoverCommands*>()->setCoverFromImage(0, image));
    EXPECT_EQ(column(h, kFirstExtra), QStringList({"yes"})); // shown until the text changes
    EXPECT_EQ(found("cover:no "), QStringList());
}

TEST_F(ExtraColumnsTest, AColumnReadAheadByItsNameFollowsTheRowsAsTheyMove) {
    EXPECT_TRUE(items.readExtrasNamed(u"drama -Cover:"));
    EXPECT_FALSE(items.readExtrasNamed(u"cover: covers:x")); // read already, or no column
    EXPECT_EQ(found("cover:yes"), QStringList({"Alien", "Casino"}));
    h.form->ListView1_ColumnClick(int(MovieColumn::Title)); // the rows move under the texts
    EXPECT_EQ(found("cover:no"), QStringList({"Brazil"}));
    EXPECT_EQ(found("cover:y"), QStringList({"Alien", "Casino"}));
}

TEST_F(ExtraColumnsTest, AColumnThatCannotBeReadIsReadOnlyInUseAndReportedOnce) {
    TempCatalogue::exec(h.catalogue(), QStringLiteral("drop table lookup_link"));
    TempCatalogue::exec(h.catalogue(), QStringLiteral("create table lookup_link (x)"));
    h.boxes.clear();
    listDVD(h.list(), h.movies, h.form->pointer(), h.boxes);
    EXPECT_EQ(found("cover:yes"), QStringList({"Alien", "Casino"}));
    QCoreApplication::processEvents();
    EXPECT_EQ(h.boxes.count(), 0); // the broken column is not in use

    EXPECT_EQ(found("lookup:wiki"), QStringList());
    QCoreApplication::processEvents();
    ASSERT_EQ(h.boxes.count(), 1);
    EXPECT_TRUE(h.boxes.last().text.startsWith(
        QStringLiteral("The column \"Looked up in\" could not be read.")));
}

} // namespace
