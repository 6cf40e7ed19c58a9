#include "core/covers/cover_store.h"
#include "core/lookup/lookup_links.h"
#include "core/settings/config.h"
#include "lookup/tmdb_stand_in.h"
#include "mainwindow/covers/cover_thumbnails.h"
#include "mainwindow/covers/cover_view_switch.h"
#include "mainwindow/lookup/field_review.h"
#include "mainwindow/lookup/lookup_dialog.h"
#include "support/main_window_driver.h"
#include "support/modal.h"
#include "support/qt_printers.h"
#include "support/stand_in_http_server.h"

#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QInputDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

namespace {

StandInResponse fixture(const char* name) {
    return StandInResponse::file(QStringLiteral(RK_LOOKUP_FIXTURES "/") + QLatin1String(name));
}

// Serves TMDb's poster of Casablanca as an image that decodes, ahead of the
// stand-in's own answer.
StandInHttpServer& withDecodablePoster(StandInHttpServer& server) {
    QImage image(20, 30, QImage::Format_RGB32);
    image.fill(Qt::darkRed);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    server.route("/t/p/w342/5K7cOHoay2mZusSLezBOY0Qxh8a.jpg", "",
                 {{200, "image/jpeg", jpeg, {}, false}});
    return server;
}

// The main window with one movie, "Casablanca" of 1942, and Wikidata and
// TMDb at a stand-in that knows the films called Casablanca.
struct LookupWindow : MainWindowDriver {
    StandInHttpServer server;
    WikidataAtStandIn addresses{server};
    TmdbAtStandIn tmdb{withDecodablePoster(server)};

    LookupWindow() {
        load({{"Casablanca", "1942", "Drama"}});
        showActive();
        server.route("/sparql", "mwapi:search \"Casablanca\"", {fixture("casablanca_search.json")});
        server.route("/w/api.php", "ids=Q132689&", {fixture("casablanca_entity.json")});
        server.route("/w/api.php", "action=wbgetentities", {fixture("casablanca_labels.json")});
        tmdb.answerSearch("Casablanca", {{289, "Casablanca", "1942-11-26"}});
    }

    // Runs `drive` on the lookup window once it is up, then closes it.
    void whenLookupShows(std::function<void(LookupDialog&)> drive) {
        auto* poll = new QTimer(form.get());
        QObject::connect(poll, &QTimer::timeout, poll, [poll, drive = std::move(drive)] {
            auto* dialog = qobject_cast<LookupDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                return;
            }
            poll->deleteLater();
            poll->stop();
            drive(*dialog);
            if (dialog->isVisible()) {
                dialog->reject();
            }
        });
        poll->start(10);
    }
    // Waits for the candidates, picks the 1942 film with Enter and takes the ticked fields.
    static void pickThe1942Film(LookupDialog& dialog) {
        QTreeWidget& list = dialog.candidates();
        ASSERT_TRUE(QTest::qWaitFor([&] { return list.topLevelItemCount() > 0; }));
        EXPECT_EQ(list.topLevelItem(0)->text(1), "1942"); // the exact title, earliest first
        list.setCurrentItem(list.topLevelItem(0));
        QTest::keyClick(&list, Qt::Key_Return);
        ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.review().isVisible(); }));
        // The poster, where the film has one, is offered once it is here.
        const QCheckBox& poster = dialog.posterBox();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !poster.isVisible() || poster.isEnabled(); }));
        dialog.useTicked();
    }
    void pressCtrlL() { QTest::keyClick(&box(1), Qt::Key_L, Qt::ControlModifier); }
    QStringList boxes8() {
        QStringList texts;
        for (int n = 1; n <= 8; ++n) {
            texts << box(n).text();
        }
        return texts;
    }
    QList<LookupLink> links(qint64 id) { return LookupLinks(movies).of(id); }
};

const QStringList kWikidata1942 = {"Casablanca",
                                   "1942",
                                   "drama film, romance film, war film",
                                   "Humphrey Bogart, Ingrid Bergman, Paul Henreid, Claude Rains, "
                                   "Conrad Veidt, Sydney Greenstreet, Peter Lorre, S. Z. Sakall",
                                   "Michael Curtiz",
                                   "1:42",
                                   "PG",
                                   "Warner Bros."};
const QStringList kTmdb1942 = {"Casablanca",
                               "1942",
                               "Drama, Romance, War",
                               "Humphrey Bogart, Ingrid Bergman, Paul Henreid, Claude Rains, "
                               "Conrad Veidt, Sydney Greenstreet, Peter Lorre, S.Z. Sakall",
                               "Michael Curtiz",
                               "1:42",
                               "PG",
                               "Warner Bros. Pictures"};

QStringList storedFields(Catalogue& catalogue, const QString& id) {
    const DvdRecord movie = catalogue.movie(id).value_or(DvdRecord{});
    QStringList fields;
    for (int i = 0; i < DvdRecord::kFieldCount; ++i) {
        fields << movie.field(i);
    }
    return fields;
}

TEST(LookupWindow, CtrlLFillsTheEmptyBoxesAndSaveStoresThemWithTheLinkAndPoster) {
    struct Case {
        const char* source;
        QStringList found;
        const char* sourceId;
        bool cover;
    };
    for (const Case& c : {Case{"wikidata", kWikidata1942, "Q132689", false},
                          Case{"tmdb", kTmdb1942, "289", true}}) {
        SCOPED_TRACE(c.source);
        LookupWindow window;
        Config(window.settings).set(Setting::LookupSource, c.source);
        auto& covers = *window.form->findChild<CoverViewSwitch*>();
        covers.showCovers();
        whileModal(window.editor(), [&] {
            QTest::keyClicks(&window.box(1), "Casablanca");
            QTest::keyClicks(&window.box(4), "Bogart and friends"); // typed: kept
            window.whenLookupShows(&LookupWindow::pickThe1942Film);
            window.pressCtrlL();
            EXPECT_TRUE(window.box(3).isUndoAvailable()); // put in as typing would be
            EXPECT_TRUE(window.links(2).isEmpty());       // nothing stored before Save
            window.clickSave();
        });
        window.click(Button::AddNewMovie);

        QStringList expected = c.found;
        expected[3] = "Bogart and friends";
        EXPECT_EQ(storedFields(window.movies, "2"), expected);
        const QList<LookupLink> links = window.links(2);
        ASSERT_EQ(links.size(), 1);
        EXPECT_EQ(links[0].sourceId, c.sourceId);
        EXPECT_EQ(links[0].imdbId, "tt0034583");
        EXPECT_EQ(CoverStore(window.movies).has(2), c.cover);
        // The cover view shown meanwhile has the poster at once.
        EXPECT_TRUE(QTest::qWaitFor([&] { return covers.thumbnails().hasCover(2) == c.cover; }));
    }
}

TEST(LookupWindow, LookUpEntryOpensTheHighlightedMovieAndKeepsItsFilledFields) {
    LookupWindow window;
    window.select("Casablanca");
    QAction* entry = nullptr;
    for (QAction* action : window.list().actions()) {
        if (action->text() == "Look &up\u2026") {
            entry = action;
        }
    }
    ASSERT_NE(entry, nullptr);
    // The lookup begins by itself, over the editor.
    window.whenLookupShows(&LookupWindow::pickThe1942Film);
    whileModal(window.editor(), [&] {
        EXPECT_TRUE(QTest::qWaitFor([&] { return window.box(5).text() == "Michael Curtiz"; }));
        window.clickSave();
    });
    entry->trigger();

    QStringList expected = kWikidata1942;
    expected[2] = "Drama"; // filled before: not ticked
    EXPECT_EQ(storedFields(window.movies, "1"), expected);
    EXPECT_EQ(window.links(1).size(), 1);
    // Without a highlighted movie the entry is greyed.
    window.list().clearSelection();
    EXPECT_FALSE(entry->isEnabled());
}

TEST(LookupWindow, AFailureOrNoTitleIsToldOnceAndChangesNothing) {
    struct Case {
        const char* title;
        StandInResponse answer;
        const char* told;
    };
    const QList<Case> cases = {
        {"Notorious", {200, "text/html", "<html>Maintenance</html>", {}, false}, "Wikidata: "},
        {"", {}, "Type the movie's title first, then look it up."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.told);
        LookupWindow window;
        window.server.route("/sparql", "", {c.answer});
        QStringList before;
        whileModal(window.editor(), [&] {
            QTest::keyClicks(&window.box(1), c.title);
            QTest::keyClicks(&window.box(2), "1942");
            before = window.boxes8();
            window.whenLookupShows([&](LookupDialog& dialog) {
                EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog.isBusy(); }));
                EXPECT_EQ(dialog.candidates().topLevelItemCount(), 0);
            });
            const int told = window.boxes.count();
            window.pressCtrlL();
            EXPECT_EQ(window.boxes.count(), told + 1);
            EXPECT_TRUE(window.boxes.last().text.startsWith(c.told))
                << window.boxes.last().text.toStdString();
            EXPECT_EQ(window.boxes8(), before);
        });
        window.click(Button::AddNewMovie);
        EXPECT_EQ(window.server.requests().isEmpty(), QString(c.title).isEmpty());
        EXPECT_EQ(window.movies.movies().size(), 1u);
    }
}

// Whether an icon shows a picture rather than an empty place.
bool showsPicture(const QIcon& icon) {
    const QImage image = icon.pixmap(QSize(28, 42)).toImage();
    return !image.isNull() && qAlpha(image.pixel(image.width() / 2, image.height() / 2)) > 0;
}

TEST(LookupWindow, TmdbFilmsShowAPosterThumbnailAndBackReturnsToTheListAsItWas) {
    LookupWindow window;
    // A title the fixture's own TMDb answer leaves alone.
    window.tmdb.answerSearch("Notorious",
                             {{289, "Notorious", "1946-08-15", "/5K7cOHoay2mZusSLezBOY0Qxh8a.jpg"},
                              {900001, "Notorious", "2009-01-16"}});
    for (const char* source : {"wikidata", "tmdb"}) {
        SCOPED_TRACE(source);
        const bool tmdb = QLatin1String(source) == "tmdb";
        Config(window.settings).set(Setting::LookupSource, source);
        LookupDialog dialog(window.settings, window.boxes,
                            {tmdb ? "Notorious" : "Casablanca", std::nullopt, {}}, {}, {}, false);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.isBusy(); }));
        QTreeWidget& list = dialog.candidates();
        ASSERT_GE(list.topLevelItemCount(), 2);
        if (tmdb) {
            EXPECT_TRUE(
                QTest::qWaitFor([&] { return showsPicture(list.topLevelItem(0)->icon(0)); }));
        }
        EXPECT_FALSE(showsPicture(list.topLevelItem(1)->icon(0)));
        const auto imageRequests = [&] {
            QList<StandInRequest> asked;
            for (const StandInRequest& request : window.server.requests()) {
                if (request.path.startsWith("/t/p/")) {
                    asked << request;
                }
            }
            return asked;
        };
        // Only the film with a poster asks the image host, and never with the key.
        EXPECT_EQ(imageRequests().size(), tmdb ? 1 : 0);
        for (const StandInRequest& request : imageRequests()) {
            EXPECT_FALSE(request.query.contains("api_key")) << request.query.toStdString();
            EXPECT_FALSE(request.headers.contains("authorization"));
        }

        // The film's fields, then back to the films found.
        list.setCurrentItem(list.topLevelItem(0));
        dialog.pick();
        ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.review().isVisibleTo(&dialog); }));
        auto* back = dialog.findChild<QPushButton*>("lookupBack");
        ASSERT_NE(back, nullptr);
        const int rows = list.topLevelItemCount();
        const auto asked = window.server.requests().size();
        back->click();
        EXPECT_TRUE(list.isVisibleTo(&dialog));
        EXPECT_FALSE(dialog.isBusy()); // no new search
        EXPECT_EQ(list.topLevelItemCount(), rows);
        EXPECT_EQ(list.currentItem(), list.topLevelItem(0));
        EXPECT_FALSE(back->isVisibleTo(&dialog));
        EXPECT_EQ(window.server.requests().size(), asked);
    }
}

TEST(LookupWindow, TheSourceAndTheTmdbKeyChosenThereAreKeptAndSearchAgain) {
    LookupWindow window;
    LookupDialog dialog(window.settings, window.boxes, {"Casablanca", 1942, {}}, {}, {}, false);
    QComboBox& source = *dialog.findChild<QComboBox*>("lookupSource");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.isBusy(); }));
    EXPECT_EQ(dialog.candidates().topLevelItem(0)->text(3), "Wikidata");

    source.setCurrentIndex(source.findData("tmdb"));
    emit source.activated(source.currentIndex());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.isBusy(); }));
    EXPECT_EQ(dialog.candidates().topLevelItem(0)->text(3), "TMDb");
    EXPECT_EQ(Config(window.settings).get(Setting::LookupSource), "tmdb");

    // The key is typed where it cannot be read over a shoulder, and kept.
    QTimer::singleShot(0, [] {
        auto* ask = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(ask, nullptr);
        EXPECT_EQ(ask->textEchoMode(), QLineEdit::Password);
        ask->setTextValue(" a-key-of-mine ");
        ask->accept();
    });
    dialog.findChild<QPushButton*>("tmdbKey")->click();
    EXPECT_EQ(Config(window.settings).get(Setting::TmdbKey), "a-key-of-mine");
}

} // namespace
