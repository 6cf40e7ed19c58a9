#include "mainwindow/menu/window_menu_bar.h"

#include "core/report/failure.h"
#include "core/report/message_boxes.h"
#include "core/settings/config.h"
#include "mainwindow/button_mnemonics.h"
#include "mainwindow/list_view.h"
#include "mainwindow/menu/shortcuts_window.h"
#include "mainwindow/window_context.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <algorithm>

namespace {

// The menus' access keys keep clear of the buttons' (A D E L C X M H).
const QString kFileMenu = QStringLiteral("&File");
const QString kEditMenu = QStringLiteral("Ed&it");
const QString kViewMenu = QStringLiteral("&View");
const QString kHelpMenu = QStringLiteral("Hel&p");

const QString kQuitEntry = QStringLiteral("&Quit");
const QString kAddEntry = QStringLiteral("&Add");
const QString kEditEntry = QStringLiteral("&Edit");
const QString kDeleteEntry = QStringLiteral("&Delete");
const QString kClipboardEntry = QStringLiteral("Copy to &clipboard");
const QString kSpreadsheetEntry = QStringLiteral("Copy to s&preadsheet");
const QString kClearEntry = QStringLiteral("Clea&r\u2026");
const QString kExampleEntry = QStringLiteral("&Load example data");
const QString kShowMenuBarEntry = QStringLiteral("Show menu &bar");
const QString kShortcutsEntry = QStringLiteral("&Keyboard shortcuts");
const QString kHelpEntry = QStringLiteral("&Help");
const QString kAboutEntry = QStringLiteral("&About");
const QString kSummonEntry = QStringLiteral("Show the menus");

const QString kAboutTitle = QStringLiteral("About %1");
const QString kAboutText = QStringLiteral("%1\n\nA catalogue of your movies, kept in one file.");
#ifdef REELKEEPER_VERSION
const QString kVersion = QStringLiteral(REELKEEPER_VERSION);
#else
const QString kVersion;
#endif

const QString kShown = QStringLiteral("1");
const QString kHidden = QStringLiteral("0");

} // namespace

WindowMenuBar::WindowMenuBar(WindowContext& context, const QList<WindowFeature*>& features)
    : WindowFeature(context, QStringLiteral("WindowMenuBar")) {
    QWidget& window = context.window();
    m_bar = new QMenuBar(&window);
    m_bar->setObjectName(QStringLiteral("MenuBar"));
    m_bar->setNativeMenuBar(false); // in the window, never a desktop-wide bar
    m_bar->hide();

    QMenu& file = addMenu(kFileMenu);
    addFeatureEntries(file, BarMenu::File, features);
    file.addSeparator();
    addOwnEntry(file, kQuitEntry, {QKeySequence(Qt::CTRL | Qt::Key_Q)}, nullptr);
    connect(file.actions().constLast(), &QAction::triggered, &window, &QWidget::close);

    QMenu& edit = addMenu(kEditMenu);
    addButtonEntry(edit, kAddEntry, Button::AddNewMovie);
    m_highlightedEntries << addButtonEntry(edit, kEditEntry, Button::EditSelectedMovie);
    m_highlightedEntries << addButtonEntry(edit, kDeleteEntry, Button::DeleteSelectedMovie);
    edit.addSeparator();
    addFeatureEntries(edit, BarMenu::Edit, features);
    edit.addSeparator();
    addButtonEntry(edit, kClipboardEntry, Button::CopyMoviesToClipboard);
    addButtonEntry(edit, kSpreadsheetEntry, Button::CopyDatabaseToExcel);
    edit.addSeparator();
    addButtonEntry(edit, kClearEntry, Button::ClearDatabase);
    addButtonEntry(edit, kExampleEntry, Button::LoadExampleData);

    QMenu& view = addMenu(kViewMenu);
    addFeatureEntries(view, BarMenu::View, features);
    view.addSeparator();
    m_keepEntry = addEntry(kShowMenuBarEntry, {}, [this] { keepShown(m_keepEntry->isChecked()); });
    m_keepEntry->setCheckable(true);
    view.addAction(m_keepEntry);

    QMenu& help = addMenu(kHelpMenu);
    addFeatureEntries(help, BarMenu::Help, features);
    addOwnEntry(help, kShortcutsEntry,
                {QKeySequence(Qt::CTRL | Qt::Key_Question), QKeySequence(Qt::Key_F1)},
                &WindowMenuBar::showShortcuts);
    addButtonEntry(help, kHelpEntry, Button::Help);
    help.addSeparator();
    addOwnEntry(help, kAboutEntry, {}, &WindowMenuBar::about);

    // F10 summons the bar; it is in no menu.
    auto* summonAction = new QAction(kSummonEntry, &window);
    summonAction->setShortcut(Qt::Key_F10);
    summonAction->setShortcutContext(Qt::WindowShortcut);
    connect(summonAction, &QAction::triggered, this, &WindowMenuBar::summon);
    window.addAction(summonAction);

    qApp->installEventFilter(this);
    restoreKeptShown();
    WindowMenuBar::updateEntries();
}

QMenu& WindowMenuBar::addMenu(const QString& title) {
    QMenu* menu = m_bar->addMenu(title);
    // A summoned bar goes once its menus close, by a command or Escape; the
    // check waits for the next menu that arrow keys may be opening.
    connect(menu, &QMenu::aboutToHide, this,
            [this] { QTimer::singleShot(0, this, &WindowMenuBar::endSummonsUnlessOpen); });
    m_menus << menu;
    return *menu;
}

QAction* WindowMenuBar::addOwnEntry(QMenu& menu, const QString& text,
                                    const QList<QKeySequence>& shortcuts,
                                    void (WindowMenuBar::*run)()) {
    QWidget& window = context().window();
    auto* action = new QAction(text, &window);
    action->setShortcuts(shortcuts);
    action->setShortcutContext(Qt::WindowShortcut);
    if (run != nullptr) {
        connect(action, &QAction::triggered, this, run);
    }
    window.addAction(action);
    menu.addAction(action);
    return action;
}

QAction* WindowMenuBar::addButtonEntry(QMenu& menu, const QString& text, Button button) {
    // The button owns its access key; the entry only shows it.
    const QString keys = buttonAccessKey(button).toString(QKeySequence::NativeText);
    QAction* action = menu.addAction(text + QLatin1Char('\t') + keys);
    connect(action, &QAction::triggered, this, [this, button] { context().press(button); });
    return action;
}

void WindowMenuBar::addFeatureEntries(QMenu& menu, BarMenu which,
                                      const QList<WindowFeature*>& features) {
    for (const WindowFeature* feature : features) {
        for (const BarEntry& entry : feature->barEntries()) {
            if (entry.menu == which) {
                menu.addAction(entry.action);
            }
        }
    }
}

void WindowMenuBar::updateEntries() {
    const bool highlighted = context().highlightedRow().has_value();
    for (QAction* entry : std::as_const(m_highlightedEntries)) {
        entry->setEnabled(highlighted);
    }
}

bool WindowMenuBar::isShown() const {
    return !m_bar->isHidden();
}

void WindowMenuBar::restoreKeptShown() {
    try {
        m_keptShown = Config(context().services().settings).get(Setting::MenuBarShown) == kShown;
    } catch (const Failure&) {
        // An unreadable setting leaves the bar hidden, as on a first start.
    }
    m_keepEntry->setChecked(m_keptShown);
    setBarShown(m_keptShown);
}

void WindowMenuBar::keepShown(bool shown) {
    m_keptShown = shown;
    m_keepEntry->setChecked(shown);
    try {
        Config(context().services().settings).set(Setting::MenuBarShown, shown ? kShown : kHidden);
    } catch (const Failure&) {
        // The bar works without being remembered.
    }
    if (shown) {
        m_summoned = false;
        setBarShown(true);
    } else if (!anyMenuOpen()) {
        endSummons();
    } else {
        m_summoned = true; // goes when its menu closes
    }
}

void WindowMenuBar::summon() {
    if (!isShown()) {
        m_summoned = true;
        m_focusBefore = QApplication::focusWidget();
        setBarShown(true);
    }
    m_bar->setActiveAction(m_menus.constFirst()->menuAction());
}

void WindowMenuBar::setBarShown(bool shown) {
    if (shown != isShown()) {
        m_bar->setVisible(shown);
        fitRoom();
    }
}

void WindowMenuBar::fitRoom() {
    const int height = isShown() ? m_bar->sizeHint().height() : 0;
    context().setRoomAbove(height);
    if (height > 0) {
        m_bar->setGeometry(0, 0, context().window().width(), height);
    }
}

bool WindowMenuBar::anyMenuOpen() const {
    return std::any_of(m_menus.begin(), m_menus.end(),
                       [](const QMenu* menu) { return menu->isVisible(); });
}

void WindowMenuBar::endSummonsUnlessOpen() {
    if (m_summoned && !anyMenuOpen()) {
        endSummons();
    }
}

void WindowMenuBar::endSummons() {
    m_summoned = false;
    if (m_keptShown) {
        return;
    }
    setBarShown(false);
    if (m_focusBefore && QApplication::activeWindow() == &context().window()) {
        m_focusBefore->setFocus(Qt::OtherFocusReason);
    }
    m_focusBefore.clear();
}

QList<QAction*> WindowMenuBar::allActions() const {
    QList<QAction*> actions;
    for (const QMenu* menu : m_menus) {
        actions << menu->actions();
    }
    return actions + context().window().actions() + context().list().actions();
}

void WindowMenuBar::showShortcuts() {
    const bool first = m_shortcuts == nullptr;
    if (first) {
        m_shortcuts = new ShortcutsWindow(&context().window());
    }
    m_shortcuts->setLines(shortcutLines(allActions()));
    m_shortcuts->show();
    if (first) {
        // A window of its own is placed by nobody: it opens over the main
        // window, as a dialog would, and stays where the person moves it.
        const QWidget& main = context().window();
        m_shortcuts->move(main.frameGeometry().center() - m_shortcuts->rect().center());
    }
    m_shortcuts->raise();
    m_shortcuts->activateWindow();
}

void WindowMenuBar::about() {
    const QString name = context().window().windowTitle();
    const QString named = kVersion.isEmpty() ? name : name + QLatin1Char(' ') + kVersion;
    context().services().boxes.tell(kAboutText.arg(named), kAboutTitle.arg(name));
}

bool WindowMenuBar::inThisWindow(QObject* watched) const {
    const auto* widget = qobject_cast<QWidget*>(watched);
    return widget != nullptr && widget->window() == &context().window();
}

void WindowMenuBar::watchAltAlone(QEvent* event, QObject* watched) {
    // Key events reach the native window first, then the widgets.
    if (!watched->isWidgetType()) {
        return;
    }
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Alt) {
            if (!key->isAutoRepeat()) {
                m_altAlone = inThisWindow(watched) &&
                             QApplication::activePopupWidget() == nullptr &&
                             (key->modifiers() & ~Qt::AltModifier) == Qt::NoModifier;
            }
        } else {
            m_altAlone = false;
        }
        break;
    }
    case QEvent::ShortcutOverride:
        if (static_cast<QKeyEvent*>(event)->key() != Qt::Key_Alt) {
            m_altAlone = false;
        }
        break;
    case QEvent::KeyRelease:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Alt && m_altAlone) {
            m_altAlone = false;
            if (inThisWindow(watched)) {
                if (m_summoned) {
                    endSummons();
                } else {
                    summon();
                }
            }
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::WindowDeactivate:
        m_altAlone = false;
        break;
    default:
        break;
    }
}

bool WindowMenuBar::eventFilter(QObject* watched, QEvent* event) {
    watchAltAlone(event, watched);
    QWidget& window = context().window();
    if (watched == &window && event->type() == QEvent::Resize && isShown()) {
        m_bar->resize(window.width(), m_bar->height());
    } else if (watched == m_bar && isShown() &&
               (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange)) {
        // The skin changes the bar's height: the room follows.
        QMetaObject::invokeMethod(this, &WindowMenuBar::fitRoom, Qt::QueuedConnection);
    } else if (event->type() == QEvent::KeyPress && m_summoned && inThisWindow(watched) &&
               static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        endSummons();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
