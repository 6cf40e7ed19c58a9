#pragma once

#include <QList>
#include <QObject>
#include <functional>

class QAction;
class QKeySequence;
class QString;
class QWidget;
class WindowContext;

// The menus of the window's menu bar an entry can go into.
enum class BarMenu { None, File, Edit, View, Help };

// An entry of a feature's in a menu of the menu bar.
struct BarEntry {
    BarMenu menu = BarMenu::None;
    QAction* action = nullptr;
};

// A feature of the main window: made with the window's context, it adds its
// own entries to the movie list's context menu and the menu bar (with their
// shortcuts) and its own drop handling, and enables or greys its entries
// from the list's highlighted movie. The window makes every feature at once
// (features.cpp) and starts them once it is first shown.
class WindowFeature : public QObject {
    Q_OBJECT
public:
    // A child of the window, named `name` so that it can be found among them.
    WindowFeature(WindowContext& context, const QString& name);

    // Runs once, right after the window is first shown.
    virtual void start() {}

    // The entries this feature puts into the menu bar, in the order it added them.
    const QList<BarEntry>& barEntries() const { return m_barEntries; }

protected:
    WindowContext& context() const { return m_context; }

    // Adds an entry to the end of the list's context menu, and to the end
    // of that menu of the menu bar too unless it is BarMenu::None; its
    // shortcut works anywhere in the window.
    QAction* addEntry(const QString& text, const QKeySequence& shortcut, std::function<void()> run,
                      BarMenu menu = BarMenu::None);
    // Adds an entry to the end of that menu of the menu bar only; its
    // shortcut works anywhere in the window, the bar shown or not.
    QAction* addBarEntry(BarMenu menu, const QString& text, const QKeySequence& shortcut,
                         std::function<void()> run);
    // Enables or greys the entries from the list's highlighted movie. Called
    // whenever the list's selection or contents change; a feature whose
    // entries depend on them also calls it at the end of its constructor.
    virtual void updateEntries() {}

private:
    QAction* makeEntry(QWidget& owner, const QString& text, const QKeySequence& shortcut,
                       std::function<void()> run, BarMenu menu);

    WindowContext& m_context;
    QList<BarEntry> m_barEntries;
};
