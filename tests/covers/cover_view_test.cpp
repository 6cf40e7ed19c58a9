// Covers on the main window: the cover view over the list's own rows and
// ticks, the list back to the pixel, covers stored by dropping and pasting,
// and refusals reported once with nothing stored.
#include "core/covers/cover_store.h"
#include "editor/form2.h"
#include "mainwindow/covers/cover_commands.h"
#include "mainwindow/covers/cover_thumbnails.h"
#include "mainwindow/covers/cover_view.h"
#include "mainwindow/covers/cover_view_switch.h"
#include "support/cover_images.h"
#include "support/main_window_driver.h"
#include "support/modal.h"
#include "support/qt_printers.h"

#include <QAction>
#include <QBuffer>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTimer>
#include <QToolTip>
#include <QUrl>

namespace {

class CoverViewTest : public ::testing::Test {
protected:
    QString imageFile(const QString& name, QSize size) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::blue);
        const QString path = h.dirs.root() + QLatin1Char('/') + name;
        EXPECT_TRUE(image.save(path));
        return path;
    }
    bool hasCover(const QString& id) { return CoverStore(h.movies).has(id.toLongLong()); }
    void key(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(widget, Qt::Key(key), modifiers);
    }

    ShownForm1 h{{"Brazil", "Alien", "Casino"}};
    CoverViewSwitch& covers = *h.form->findChild<CoverViewSwitch*>();
    CoverCommands& commands = *h.form->findChild<CoverCommands*>();
};

TEST_F(CoverViewTest, TheCoverViewCoversTheListAndCtrl1BringsItBackToThePixel) {
    ListView& list = h.list();
    list.setFocus();
    list.selectRow(1);
    const QRect place = list.geometry();
    const QImage before = h.form->grab().toImage();

    key(&list, Qt::Key_2, Qt::ControlModifier);
    ASSERT_TRUE(covers.coversShown());
    EXPECT_EQ(covers.view().geometry(), list.rect());
    EXPECT_TRUE(covers.view().hasFocus());
    EXPECT_EQ(h.settings.values.value("MovieView"), QStringLiteral("covers"));
    // Same rows, order, selection and ticks: a tick in one is a tick in the other.
    EXPECT_EQ(covers.view().model(), list.model());
    key(&covers.view(), Qt::Key_Space);
    EXPECT_TRUE(list.items().isTicked(1));
    list.items().setTicked(1, false);

    key(&covers.view(), Qt::Key_1, Qt::ControlModifier);
    EXPECT_FALSE(covers.coversShown());
    EXPECT_EQ(list.geometry(), place);
    EXPECT_EQ(list.focusProxy(), nullptr);
    EXPECT_TRUE(list.hasFocus());
    EXPECT_EQ(h.form->grab().toImage(), before);
    EXPECT_EQ(h.settings.values.value("MovieView"), QStringLiteral("list"));
}

TEST_F(CoverViewTest, TheListsContextMenuRemovesTheSelectedMoviesCover) {
    QStringList entries;
    for (const QAction* action : h.list().actions()) {
        entries << action->text() + QLatin1Char('|') + action->shortcut().toString();
    }
    EXPECT_EQ(entries.mid(1, 4), (QStringList{"&Set cover\u2026|", "Remove co&ver|",
                                              "Show &list|Ctrl+1", "Show c&overs|Ctrl+2"}));
    const int row = h.rowOf(QStringLiteral("Casino"));
    ASSERT_TRUE(commands.setCoverFromFile(row, imageFile("casino.png", {30, 45})));
    h.list().selectRow(row);
    h.list().actions().at(2)->trigger();
    EXPECT_FALSE(hasCover(h.cell(row, MovieColumn::Id)));
}

// As the menu shows them: both greyed without a highlighted movie, "Remove
// cover" also while the highlighted movie has no cover.
TEST_F(CoverViewTest, TheCoverEntriesAreGreyedWithoutAMovieOrACover) {
    const QAction& set = *h.list().actions().at(1);
    QAction& remove = *h.list().actions().at(2);
    const auto shownEnabled = [&] {
        QTimer::singleShot(0, [] {
            if (QWidget* menu = QApplication::activePopupWidget()) {
                menu->close();
            }
        });
        const QPoint at(5, 5);
        QContextMenuEvent open(QContextMenuEvent::Keyboard, at, h.list().mapToGlobal(at));
        QApplication::sendEvent(&h.list(), &open);
        return std::pair(set.isEnabled(), remove.isEnabled());
    };
    EXPECT_EQ(shownEnabled(), std::pair(false, false));
    const int row = h.rowOf(QStringLiteral("Casino"));
    h.list().selectRow(row);
    EXPECT_EQ(shownEnabled(), std::pair(true, false));
    ASSERT_TRUE(commands.setCoverFromFile(row, imageFile("casino.png", {30, 45})));
    EXPECT_EQ(shownEnabled(), std::pair(true, true));
    remove.trigger();
    EXPECT_EQ(shownEnabled(), std::pair(true, false));
    h.list().clearSelection();
    EXPECT_EQ(shownEnabled(), std::pair(false, false));
}

TEST_F(CoverViewTest, TheRememberedViewIsShownAtTheNextStart) {
    covers.restoreView();
    EXPECT_FALSE(covers.coversShown()); // a first start shows the list
    h.settings.values["MovieView"] = QStringLiteral("covers");
    covers.restoreView();
    EXPECT_TRUE(covers.coversShown());
}

TEST_F(CoverViewTest, ADroppedImageBecomesTheCoverAndTheThumbnailIsReadOffThread) {
    const int row = h.rowOf(QStringLiteral("Casino"));
    const QString id = h.cell(row, MovieColumn::Id);
    covers.showCovers();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(imageFile("casino.png", {300, 450}))});
    covers.view().doItemsLayout();
    QWidget* viewport = covers.view().viewport();
    const QPoint where = covers.view().visualRect(h.list().items().index(row, 1)).center();
    // A drop reaches the widget whose drag enter was accepted.
    QDragEnterEvent enter(where, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(where, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_TRUE(hasCover(id));
    EXPECT_EQ(h.list().selectedRow(), row);

    CoverThumbnails& thumbnails = covers.thumbnails();
    EXPECT_TRUE(thumbnails.thumbnail(id.toLongLong()).isNull()); // asked for, not yet read
    thumbnails.waitForJobs();
    QApplication::processEvents(); // the finished job hands its thumbnail over
    ASSERT_FALSE(thumbnails.thumbnail(id.toLongLong()).isNull());
    EXPECT_EQ(thumbnails.thumbnail(id.toLongLong()).size(), QSize(120, 180));

    // "Remove cover" takes it away again.
    EXPECT_TRUE(commands.removeCover(row));
    EXPECT_FALSE(hasCover(id));
    EXPECT_TRUE(h.boxes.boxes().isEmpty());
}

// A drop onto a movie that has a cover asks first, No by default; a drop
// beside every row says where the image goes.
TEST_F(CoverViewTest, ADropOntoACoverAsksBeforeReplacingItAndOneBesideTheRowsSaysWhere) {
    const int row = h.rowOf(QStringLiteral("Casino"));
    const qint64 id = h.cell(row, MovieColumn::Id).toLongLong();
    ASSERT_TRUE(commands.setCoverFromFile(row, imageFile("first.png", {30, 45})));
    QWidget* viewport = h.list().viewport();
    const QString second = imageFile("second.png", {60, 90});
    const auto dropAt = [&](QPoint where) {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(second)});
        QDragEnterEvent enter(where, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &enter);
        QDropEvent drop(where, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &drop);
    };
    const QPoint onRow = h.list().visualRect(h.list().model()->index(row, 1)).center();
    dropAt(onRow);
    ASSERT_EQ(h.boxes.count(), 1);
    EXPECT_EQ(h.boxes.last().text,
              QStringLiteral("\"Casino\" already has a cover. Replace it with second.png?"));
    EXPECT_EQ(h.boxes.last().style, 260);
    EXPECT_EQ(CoverStore(h.movies).get(id)->width, 30);
    h.boxes.answer(Answer::Yes);
    dropAt(onRow);
    EXPECT_EQ(CoverStore(h.movies).get(id)->width, 60);

    dropAt(QPoint(5, viewport->height() - 5));
    ASSERT_EQ(h.boxes.count(), 3);
    EXPECT_EQ(h.boxes.last().text, QStringLiteral("Drop the image onto a movie's row."));
    EXPECT_EQ(h.boxes.last().style, 0);
}

TEST_F(CoverViewTest, ARowWithACoverShowsItInItsTooltipAndOthersShowNone) {
    const int row = h.rowOf(QStringLiteral("Alien"));
    ASSERT_TRUE(commands.setCoverFromFile(row, imageFile("alien.jpg", {300, 450})));
    QWidget* viewport = h.list().viewport();
    auto hover = [&](int at) {
        QToolTip::hideText();
        const QPoint where = h.list().visualRect(h.list().model()->index(at, 1)).center();
        QHelpEvent help(QEvent::ToolTip, where, viewport->mapToGlobal(where));
        QApplication::sendEvent(viewport, &help);
        return QToolTip::text();
    };
    const QString tip = hover(row);
    EXPECT_TRUE(tip.startsWith(QStringLiteral("<img src=\"data:image/png;base64,")));
    EXPECT_TRUE(tip.endsWith(QStringLiteral("<br><b>Alien</b> (1999)")));
    // Without a cover the list's own tooltip stays.
    EXPECT_FALSE(hover(h.rowOf(QStringLiteral("Brazil"))).contains(QStringLiteral("<img")));
}

TEST_F(CoverViewTest, APastedImageGoesOntoTheSelectedRowAndTextIsLeftAlone) {
    const int row = h.rowOf(QStringLiteral("Alien"));
    h.list().selectRow(row);
    QImage image(800, 600, QImage::Format_RGB32);
    image.fill(Qt::red);
    QApplication::clipboard()->setImage(image);
    key(&h.list(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(hasCover(h.cell(row, MovieColumn::Id)));

    const int other = h.rowOf(QStringLiteral("Brazil"));
    h.list().selectRow(other);
    QApplication::clipboard()->setText(QStringLiteral("just text"));
    key(&h.list(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_FALSE(hasCover(h.cell(other, MovieColumn::Id)));
    // Text is offered to the import, which finds no movie list in it.
    ASSERT_EQ(h.boxes.count(), 1);
    EXPECT_TRUE(h.boxes.last().text.startsWith(QStringLiteral("The pasted text could not be")));
}

// A desktop clipboard offers the encoded image and a decoded one, which is
// empty when the image is too large to decode: the message says so.
TEST_F(CoverViewTest, APastedImageTooLargeToDecodeIsReportedAsSuch) {
    const int row = h.rowOf(QStringLiteral("Alien"));
    h.list().selectRow(row);
    auto* mime = new QMimeData;
    mime->setData(QStringLiteral("image/png"), CoverImages::pngHeader(20000, 20000));
    mime->setImageData(QImage());
    QApplication::clipboard()->setMimeData(mime);
    key(&h.list(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_FALSE(hasCover(h.cell(row, MovieColumn::Id)));
    ASSERT_EQ(h.boxes.count(), 1);
    EXPECT_EQ(h.boxes.last().text,
              QStringLiteral("The cover was not stored. The pasted image is 20000 x 20000 pixels, "
                             "too large to be read as a cover. An image may need at most 256 MB "
                             "once decoded (about 67 million pixels)."));
}

TEST_F(CoverViewTest, ARefusedFileIsReportedOnceAndNothingIsStored) {
    const QString text = h.dirs.root() + QStringLiteral("/notes.png");
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not an image");
    file.close();
    EXPECT_FALSE(commands.setCoverFromFile(0, text));
    ASSERT_EQ(h.boxes.count(), 1);
    EXPECT_EQ(
        h.boxes.last().text,
        QStringLiteral("The cover was not stored. notes.png is not an image that can be read."));
    EXPECT_EQ(h.boxes.last().style, 48);
    EXPECT_EQ(TempCatalogue::quickCheck(h.catalogue()), QStringLiteral("ok"));
    EXPECT_FALSE(CoverStore(h.movies).hasTable());
}

TEST_F(CoverViewTest, ADamagedCoverTableIsReportedOnceAndTheMoviesStayShown) {
    TempCatalogue::exec(h.catalogue(), QStringLiteral("create table cover (something)"));
    for (int showing = 0; showing < 2; ++showing) {
        covers.showCovers();
        covers.showList();
    }
    ASSERT_EQ(h.boxes.count(), 1);
    EXPECT_TRUE(h.boxes.last().text.startsWith(QStringLiteral("The covers could not be read: ")));
    EXPECT_EQ(h.list().model()->rowCount(), 3);
    EXPECT_TRUE(h.boxes.errorReports().isEmpty());
}

TEST_F(CoverViewTest, EnterOnACoverOpensTheEditorForThatMovie) {
    covers.showCovers();
    const int row = h.rowOf(QStringLiteral("Brazil"));
    covers.view().setCurrentIndex(h.list().items().index(row, 1));
    QString shownTitle;
    whileModal(h.form->form2(), [&] { shownTitle = h.form->form2().Text(1).text(); });
    key(&covers.view(), Qt::Key_Return);
    EXPECT_EQ(shownTitle, QStringLiteral("Brazil"));
}

} // namespace
