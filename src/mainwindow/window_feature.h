#pragma once

#include <QObject>
#include <functional>

class QAction;
class QKeySequence;
class QString;
class WindowContext;

// A feature of the main window: made with the window's context, it adds its
// own entries to the movie list's context menu (with their shortcuts) and
// its own drop handling, and enables or greys its entries from the list's
// highlighted movie. The window makes every feature at once (features.cpp)
// and starts them once it is first shown.
class WindowFeature : public QObject {
    Q_OBJECT
public:
    // A child of the window, named `name` so that it can be found among them.
    WindowFeature(WindowContext& context, const QString& name);

    // Runs once, right after the window is first shown.
    virtual void start() {}

protected:
    WindowContext& context() const { return m_context; }

    // Adds an entry to the end of the list's context menu; its shortcut works
    // anywhere in the window.
    QAction* addEntry(const QString& text, const QKeySequence& shortcut, std::function<void()> run);
    // Enables or greys the entries from the list's highlighted movie. Called
    // whenever the list's selection or contents change; a feature whose
    // entries depend on them also calls it at the end of its constructor.
    virtual void updateEntries() {}

private:
    WindowContext& m_context;
};
