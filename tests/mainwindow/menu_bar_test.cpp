// The menu bar: hidden until summoned, the window exactly as designed
// meanwhile; every command in it with its keys; the shortcuts window.
#include "core/snapshots/snapshot_store.h"
#include "mainwindow/menu/shortcuts_window.h"
#include "mainwindow/menu/window_menu_bar.h"
#include "platform/twips.h"
#include "support/catalogue_internals.h"
#include "support/fixed_layout.h"
#include "support/main_window_driver.h"
#include "support/qt_printers.h"
#include "support/statement_log.h"

#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <map>

namespace {

// Every control's place and the window's size, as designed.
std::map<QString, QRect> designed() {
    std::map<QString, QRect> places{
        {QStringLiteral("Form1"),
         QRect(0, 0, Twips::toPixels(kFixedClientWidth), Twips::toPixels(kFixedClientHeight))}};
    for (const ControlPlace& p : kFixedLayout) {
        places[QString::fromLatin1(p.name)] =
            QRect(Twips::toPixels(p.left), Twips::toPixels(p.top), Twips::toPixels(p.width),
                  Twips::toPixels(p.height));
    }
    return places;
}

// Every control's place and the window's size.
std::map<QString, QRect> geometries(Form1& form) {
    std::map<QString, QRect> places{{QStringLiteral("Form1"), QRect({}, form.size())}};
    for (const ControlPlace& p : kFixedLayout) {
        const QString name = QString::fromLatin1(p.name);
        places[name] = form.findChild<QWidget*>(name)->geometry();
    }
    return places;
}

struct MenuBarTest : ::testing::Test {
    void SetUp() override {
        h.start({"Alien", "Heat"});
        h.showActive();
    }
    WindowMenuBar& menuBar() { return *h.form->findChild<WindowMenuBar*>(); }
    QAction& entry(const QString& text) {
        for (QAction* action : menuBar().allActions()) {
            if (action->text().section(QLatin1Char('\t'), 0, 0) == text) {
                return *action;
            }
        }
        throw std::runtime_error("no such entry");
    }
    bool openMenu() { return QApplication::activePopupWidget() == menuBar().menus().value(0); }

    MainWindowDriver h;
};

TEST_F(MenuBarTest, HiddenUntilSummonedAndTheWindowIsExactlyAsBeforeOnceItGoes) {
    EXPECT_FALSE(menuBar().isShown());
    const auto before = geometries(*h.form);
    EXPECT_EQ(before, designed());
    const auto summonedBy = [&](const std::function<void()>& keys) {
        keys();
        EXPECT_TRUE(menuBar().isShown());
        EXPECT_TRUE(openMenu()); // the first menu, ready for the arrow keys
        const int room = menuBar().bar().height();
        EXPECT_GT(room, 0);
        EXPECT_EQ(menuBar().bar().geometry(), QRect(0, 0, h.form->width(), room));
        for (const auto& [name, place] : geometries(*h.form)) {
            EXPECT_EQ(place, name == u"Form1" ? place : before.at(name).translated(0, room))
                << qPrintable(name);
        }
        EXPECT_EQ(h.form->height(), before.at(QStringLiteral("Form1")).height() + room);
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !menuBar().isShown(); }));
        EXPECT_EQ(geometries(*h.form), before);
    };
    summonedBy([&] { QTest::keyClick(h.form.get(), Qt::Key_F10); });
    // As the desktop delivers keys: through the native window first.
    summonedBy([&] { QTest::keyClick(h.form->windowHandle(), Qt::Key_Alt); });

    // Alt with a letter is the button's access key still: Add opens the editor.
    bool editorOpened = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (h.editor().isVisible()) {
            editorOpened = !menuBar().isShown();
            h.editor().reject();
        }
    });
    watch.start(10);
    h.showActive(); // the offscreen screen leaves the closed menu active
    QTest::keyClick(&h.list(), Qt::Key_A, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return editorOpened; }));
}

TEST_F(MenuBarTest, ShowMenuBarKeepsItShownAndIsRememberedForTheNextStart) {
    QAction& keep = entry(QStringLiteral("Show menu &bar"));
    EXPECT_TRUE(h.list().actions().contains(&keep)); // in the context menu too
    keep.trigger();
    EXPECT_TRUE(menuBar().isShown());
    EXPECT_EQ(h.settings.values.value(QStringLiteral("MenuBarShown")), QStringLiteral("1"));

    // Put away while maximised, the bar's room is gone from the restored window too.
    const QSize normal = h.form->size();
    const int room = menuBar().bar().height();
    h.form->showMaximized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return h.form->size() != normal; }));
    keep.trigger();
    h.form->showNormal();
    EXPECT_TRUE(QTest::qWaitFor([&] { return h.form->size() == normal - QSize(0, room); }));
    EXPECT_EQ(h.list().geometry(), designed().at(QStringLiteral("ListView1")));

    MainWindowDriver next;
    next.settings.values[QStringLiteral("MenuBarShown")] = QStringLiteral("1");
    next.form = std::make_unique<Form1>(next.services(next.shell)); // reads it when made
    next.start({"Ran"});
    auto& bar = *next.form->findChild<WindowMenuBar*>();
    ASSERT_TRUE(bar.isShown());
    EXPECT_EQ(next.list().y(), Twips::toPixels(120) + bar.bar().height());
    bar.keepShown(false);
    EXPECT_FALSE(bar.isShown());
    EXPECT_EQ(geometries(*next.form), designed());
    EXPECT_EQ(next.settings.values.value(QStringLiteral("MenuBarShown")), QStringLiteral("0"));
}

TEST_F(MenuBarTest, EveryMenuHoldsItsCommandsWithTheirKeys) {
    QStringList shown;
    for (const QMenu* menu : menuBar().menus()) {
        QStringList entries;
        for (const QAction* action : menu->actions()) {
            if (!action->isSeparator()) {
                const QString keys = action->shortcuts().isEmpty()
                                         ? action->text().section(QLatin1Char('\t'), 1)
                                         : action->shortcut().toString();
                entries << action->text().section(QLatin1Char('\t'), 0, 0) + u'|' + keys;
            }
        }
        shown << menu->title() + QStringLiteral(": ") + entries.join(QStringLiteral(", "));
    }
    EXPECT_EQ(shown,
              (QStringList{
                  "&File: &Import movies\u2026|Ctrl+I, E&xport catalogue\u2026|Ctrl+E, "
                  "&Back up now|, &Restore a snapshot\u2026|, &Check the catalogue|, &Quit|Ctrl+Q",
                  "Ed&it: &Add|Alt+A, &Edit|Alt+E, &Delete|Alt+D, &Find\u2026|Ctrl+F, "
                  "&Set cover\u2026|, Remove co&ver|, Look &up\u2026|Ctrl+L, "
                  "Cop&ies\u2026|Ctrl+K, Sca&n mode|Ctrl+B, "
                  "Se&ts\u2026|, Lend\u2026|Ctrl+Shift+L, Ret&urn|, L&oans\u2026|, "
                  "Copy to &clipboard|Alt+M, "
                  "Copy to s&preadsheet|Alt+X, Clea&r\u2026|Alt+C, &Load example data|Alt+L",
                  "&View: Show &list|Ctrl+1, Show c&overs|Ctrl+2, Show menu &bar|",
                  "Hel&p: &Keyboard shortcuts|Ctrl+?, &Help|Alt+H, &About|"}));
    // What cannot act is greyed: Edit and Delete without a highlighted movie.
    EXPECT_FALSE(entry(QStringLiteral("&Delete")).isEnabled());
    h.select(QStringLiteral("Heat"));
    EXPECT_TRUE(entry(QStringLiteral("&Delete")).isEnabled());
}

TEST_F(MenuBarTest, AButtonsEntryRunsTheSameStatementsAsTheButton) {
    const auto deleteHeat = [](MainWindowDriver& w, const std::function<void()>& how) {
        w.select(QStringLiteral("Heat"));
        w.boxes.answer(Answer::Yes);
        StatementLog log(CatalogueInternals::connection(w.movies));
        how();
        return log.statements;
    };
    MainWindowDriver other;
    other.start({"Alien", "Heat"});
    const QStringList byButton =
        deleteHeat(other, [&] { other.click(Button::DeleteSelectedMovie); });
    const QStringList byMenu = deleteHeat(h, [&] { entry(QStringLiteral("&Delete")).trigger(); });
    EXPECT_FALSE(byMenu.isEmpty());
    EXPECT_EQ(byMenu, byButton);
    EXPECT_EQ(h.rowOf(QStringLiteral("Heat")), -1);
}

TEST_F(MenuBarTest, BackUpNowSaysWhereAndCheckReportsInOneMessage) {
    entry(QStringLiteral("&Back up now")).trigger();
    const QStringList made = SnapshotStore(h.catalogue()).list().isEmpty()
                                 ? QStringList()
                                 : QStringList{SnapshotStore(h.catalogue()).list().front().path};
    ASSERT_EQ(made.size(), 1);
    EXPECT_EQ(h.boxes.last().text, QStringLiteral("A snapshot of the catalogue was saved as %1.")
                                       .arg(QDir::toNativeSeparators(made.front())));
    entry(QStringLiteral("&Check the catalogue")).trigger();
    EXPECT_EQ(h.boxes.count(), 2);
    EXPECT_EQ(h.boxes.last().text,
              QStringLiteral("The catalogue is sound: the check found nothing wrong."));
}

TEST_F(MenuBarTest, TheShortcutsWindowListsTheKeysAndWhatFindTakes) {
    QTest::keyClick(h.form.get(), Qt::Key_F1);
    ShortcutsWindow* window = menuBar().shortcutsWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    const QStringList lines = window->shownLines();
    for (const char* line :
         {"Find\u2026|Ctrl+F", "Add|Alt+A", "Show covers|Ctrl+2", "Keyboard shortcuts|Ctrl+?, F1",
          "Show the menus|F10", "Look up\u2026|Ctrl+L"}) {
        EXPECT_TRUE(lines.contains(QString::fromUtf8(line))) << line;
    }
    EXPECT_EQ(lines.size(), QSet<QString>(lines.begin(), lines.end()).size());
    for (const char* syntax : {"words", "title:", "year:1990..1999", "\"a phrase\""}) {
        EXPECT_TRUE(window->findSyntax().contains(QLatin1String(syntax))) << syntax;
    }
    EXPECT_EQ(h.form->findChild<QLineEdit*>(QStringLiteral("FindText"))->placeholderText(),
              QStringLiteral("words, title:, year:1990..1999, \"a phrase\""));
}

} // namespace
