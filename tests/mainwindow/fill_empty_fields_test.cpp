// "Fill empty fields…" on the ticked movies, against a stand-in TMDb on
// 127.0.0.1: only empty fields are filled, the list is refreshed in place and
// the movies left alone can be ticked to do them one by one.
#include "lookup/tmdb_stand_in.h"
#include "mainwindow/lookup/fill_empty_fields.h"
#include "support/main_window_driver.h"
#include "support/qt_printers.h"

#include <QAction>
#include <QProgressDialog>

namespace {

TEST(FillEmptyFieldsTest, FillsTheTickedMoviesAndOffersTheOthers) {
    StandInHttpServer server;
    TmdbAtStandIn tmdb(server);
    tmdb.answerSearch("Casablanca", {{289, "Casablanca", "1942-11-26"}});
    tmdb.answerSearch("Emma", {{3573, "Emma", "1996-08-02"}, {3574, "Emma", "1996-11-24"}});
    tmdb.answerSearch("Nothing Like It", {});
    MainWindowDriver h;
    h.settings.values["Lookup/Source"] = "tmdb";
    h.load({{"Casablanca", "1942", "Mine"}, {"Emma", "1996"}, {"Nothing Like It"}, {"Zelig"}});
    h.showActive();
    auto& feature = *h.form->findChild<FillEmptyFields*>();
    QAction* entry = nullptr;
    for (QAction* action : h.list().actions()) {
        if (action->text() == QStringLiteral("Fill &empty fields\u2026")) {
            entry = action;
        }
    }
    ASSERT_NE(entry, nullptr);
    EXPECT_FALSE(entry->isEnabled()); // nothing ticked
    for (const char* title : {"Casablanca", "Emma", "Nothing Like It"}) {
        h.list().items().setTicked(h.rowOf(title), true);
    }
    ASSERT_TRUE(entry->isEnabled());

    h.boxes.answer(Answer::Yes);
    entry->trigger();
    EXPECT_TRUE(feature.progressDialog() != nullptr && feature.progressDialog()->isVisible());
    EXPECT_FALSE(entry->isEnabled()); // one fill at a time
    QTRY_COMPARE_WITH_TIMEOUT(h.boxes.count(), 1, 5000);
    EXPECT_EQ(h.boxes.last().text, "1 filled, 1 without a match, 1 unclear \u2014 show them?");
    const int casablanca = h.rowOf("Casablanca");
    EXPECT_EQ(h.cell(casablanca, MovieColumn::Genre), "Mine");
    EXPECT_EQ(h.cell(casablanca, MovieColumn::Director), "Michael Curtiz");
    EXPECT_EQ(h.list().items().tickedIds(), (QSet<QString>{"2", "3"}));
}

} // namespace
