#pragma once

#include "mainwindow/window_feature.h"

#include <QRect>
#include <QString>
#include <QTimer>

class FindBar;
class ListView;
class QShortcut;

// Find as you type on the movie list. Opening shows the find bar inside the
// list's rectangle, the list giving up the bar's height; the list shows the
// movies that match the text, updated as the user types; closing clears the
// text, hides the bar and gives the list its whole rectangle back, so the
// window is exactly as it was. The text is applied once the events waiting
// have been handled: keys typed while a pass runs come to one pass with the
// latest text, never one pass each. Its entry: "&Find…" (Ctrl+F).
class ListFinder : public WindowFeature {
    Q_OBJECT
public:
    // The bar goes into the window.
    explicit ListFinder(WindowContext& context);

    // Once the window is shown, and after each fill, the rows are folded for
    // finding a slice at a time while the window is idle, so that the first
    // key typed finds at once.
    void start() override;

    void open();
    void close();
    bool isOpen() const;
    FindBar& bar() { return *m_bar; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void textChanged(const QString& text);
    void applyText();
    void showCount();
    void fitIntoArea();
    void refit();
    void goToList();

    ListView& m_list;
    FindBar* m_bar = nullptr;
    QShortcut* m_escape = nullptr;
    QTimer m_pass; // the next pass, once the events waiting have run
    QTimer m_foldAhead;
    QTimer m_readAhead;          // the columns the text names, read after a paint
    bool m_readAheadDue = false; // a text applied, its paint not seen yet
    QString m_text;              // the latest text typed
    QRect m_area;                // the list's whole rectangle, while the bar is open
    QRect m_listRect;            // what the list keeps of it
    bool m_refitDue = false;
    bool m_started = false; // the window is shown
};
