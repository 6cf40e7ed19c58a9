#pragma once

#include <QList>
#include <QWidget>

class QAction;
class QLabel;
class QTreeWidget;

// A command and the keys that run it, as the shortcuts window lists them.
struct ShortcutLine {
    QString command; // without its access-key marker
    QString keys;    // "Ctrl+F", or several: "Ctrl+?, F1"
};

// Every action of the list with keys of its own, once each, in the order
// given: its shortcuts, or the keys its text shows after a tab ("&Add\tAlt+A")
// when another control owns them.
QList<ShortcutLine> shortcutLines(const QList<QAction*>& actions);

// The keyboard shortcuts window: a small window beside the main one, not
// modal, listing the commands' keys and what the find text takes.
class ShortcutsWindow : public QWidget {
    Q_OBJECT
public:
    explicit ShortcutsWindow(QWidget* parent);

    void setLines(const QList<ShortcutLine>& lines);
    // The lines shown, "command|keys" each.
    QStringList shownLines() const;
    QString findSyntax() const;

private:
    QTreeWidget* m_table = nullptr;
    QLabel* m_findSyntax = nullptr;
};
