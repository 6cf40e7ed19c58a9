#pragma once

#include "mainwindow/button.h"
#include "mainwindow/window_feature.h"

#include <QList>
#include <QPointer>

class QMenu;
class QMenuBar;
class ShortcutsWindow;

// Every command of the main window in a menu bar that stays hidden, the
// window exactly as designed, until the person summons it: F10, or Alt
// pressed and released on its own, shows it with its first menu open until
// a command is chosen or Escape is pressed. "Show menu bar" (View menu and
// the list's context menu) keeps it shown, remembered for the next start.
// While shown the window grows by the bar's height and the bar sits above
// its controls. The menus hold the buttons' commands, the entries every
// feature before this one puts into them (WindowFeature::barEntries), Quit,
// the keyboard shortcuts window and About.
class WindowMenuBar : public WindowFeature {
    Q_OBJECT
public:
    WindowMenuBar(WindowContext& context, const QList<WindowFeature*>& features);

    QMenuBar& bar() { return *m_bar; }
    // File, Edit, View and Help.
    const QList<QMenu*>& menus() const { return m_menus; }
    bool isShown() const;
    bool isKeptShown() const { return m_keptShown; }

    // Shows the bar with its first menu open, until a command is chosen or
    // Escape is pressed; opens the first menu of a bar kept shown.
    void summon();
    // "Show menu bar": keeps the bar shown, or hides it, and remembers that.
    void keepShown(bool shown);
    // The keyboard shortcuts window, made on first use.
    void showShortcuts();
    ShortcutsWindow* shortcutsWindow() const { return m_shortcuts; }
    // Every action with keys, as the shortcuts window lists them.
    QList<QAction*> allActions() const;
    // The program's name, version and what it is, in one message.
    void about();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void updateEntries() override;

private:
    QMenu& addMenu(const QString& title);
    // An entry of the menu bar's own, held by the window so that its
    // shortcut works while the bar is hidden.
    QAction* addOwnEntry(QMenu& menu, const QString& text, const QList<QKeySequence>& shortcuts,
                         void (WindowMenuBar::*run)());
    QAction* addButtonEntry(QMenu& menu, const QString& text, Button button);
    static void addFeatureEntries(QMenu& menu, BarMenu which,
                                  const QList<WindowFeature*>& features);
    void restoreKeptShown();
    void setBarShown(bool shown);
    void fitRoom();
    bool anyMenuOpen() const;
    void endSummonsUnlessOpen();
    void endSummons();
    bool inThisWindow(QObject* watched) const;
    void watchAltAlone(QEvent* event, QObject* watched);

    QMenuBar* m_bar = nullptr;
    QList<QMenu*> m_menus;
    QAction* m_keepEntry = nullptr;
    QList<QAction*> m_highlightedEntries; // greyed without a highlighted movie
    ShortcutsWindow* m_shortcuts = nullptr;
    bool m_keptShown = false;
    bool m_summoned = false;
    bool m_altAlone = false; // Alt is down and no other key came since
    QPointer<QWidget> m_focusBefore;
};
