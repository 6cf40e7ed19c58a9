#pragma once

#include "mainwindow/button.h"
#include "mainwindow/services.h"

#include <QList>
#include <QtGlobal>
#include <functional>
#include <optional>

class ColumnProvider;
class Form2;
class ListView;
class QWidget;
class WindowPointer;

// What a feature of the main window works with: the services, the movie
// list and its highlighted movie, the window's pointer, the window as the
// parent of its dialogs, and the few things the window does for a feature.
// The window implements it; a feature never reaches the window itself.
class WindowContext {
public:
    virtual ~WindowContext() = default;

    virtual const Services& services() const = 0;
    virtual ListView& list() = 0;
    virtual WindowPointer& pointer() = 0;
    // The window: the parent of the features and of their dialogs.
    virtual QWidget& window() = 0;
    // The record editor the window opens for Add and Edit.
    virtual Form2& editor() = 0;

    // Fills the list again from the catalogue after a feature changed it.
    virtual void refill() = 0;
    // Fills the list again keeping the person's place in it (ticks,
    // highlighted row, scrolling, sort, find text). False when the
    // highlighted movie is no longer shown.
    virtual bool refresh() = 0;
    // Before acting on the list: refreshes it when another program has
    // changed the catalogue since it was filled. False when the highlighted
    // movie is then no longer shown; the person has been told.
    virtual bool catchUp() = 0;
    // Opens the highlighted movie in the editor, as the Edit button does.
    virtual void editHighlighted() = 0;
    // Presses one of the window's buttons: its command runs exactly as a
    // click on it runs it.
    virtual void press(Button button) = 0;
    // Keeps room of that height in pixels above the window's own controls,
    // for a bar of a feature's: the window grows by it and the controls move
    // down by it, keeping their places to each other; 0 gives the window
    // back exactly as it was.
    virtual void setRoomAbove(int pixels) = 0;
    // Offers a column of the feature's on the list (column_provider.h); the
    // provider lives as long as the window.
    virtual void addColumn(ColumnProvider& provider) = 0;
    // The feature changed what its column shows without a refill: the
    // shown columns are read again.
    virtual void columnsChanged() = 0;
    // Asked once the person has said Yes to deleting movies, right before
    // they go: a check answering false keeps them (it has told the person why).
    using DeleteCheck = std::function<bool(const QList<qint64>& movies)>;
    virtual void addDeleteCheck(DeleteCheck check) = 0;

    // The highlighted row of the list, or none.
    std::optional<int> highlightedRow();
    // The id of the highlighted movie, or none.
    std::optional<qint64> highlightedMovie();
};
