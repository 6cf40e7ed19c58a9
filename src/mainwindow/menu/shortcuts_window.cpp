#include "mainwindow/menu/shortcuts_window.h"

#include "mainwindow/button_mnemonics.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QSet>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("Keyboard shortcuts");
const QString kCommandHeader = QStringLiteral("Command");
const QString kKeysHeader = QStringLiteral("Keys");
const QString kAltNote =
    QStringLiteral("Alt pressed and released on its own shows the menus, as F10 does.");
const QString kFindSyntax = QStringLiteral(
    "<p><b>Find</b> shows the movies that match every part of the text:</p>"
    "<table cellspacing='4'>"
    "<tr><td><tt>words</tt></td><td>each found anywhere in the movie</td></tr>"
    "<tr><td><tt>\"a phrase\"</tt></td><td>the words together, as typed</td></tr>"
    "<tr><td><tt>title:alien</tt></td><td>in one field: title:, year:, genre:, cast:, "
    "director:, runtime:, rating:, studio:</td></tr>"
    "<tr><td><tt>cast:\"a phrase\"</tt></td><td>a phrase in one field</td></tr>"
    "<tr><td><tt>year:1990..1999</tt></td><td>the years from 1990 to 1999; "
    "<tt>year:1990..</tt> and <tt>year:..1999</tt> leave one end open</td></tr>"
    "<tr><td><tt>-word</tt></td><td>leaves out the movies that have it; "
    "<tt>-title:word</tt> and <tt>-\"a phrase\"</tt> too</td></tr>"
    "<tr><td><tt>alien OR aliens</tt></td><td>either of the two; "
    "<tt>scott alien OR aliens</tt> is scott and either of the two</td></tr>"
    "</table>"
    "<p>Capitals and accents make no difference.</p>");

QString keysOf(const QAction& action) {
    QStringList keys;
    for (const QKeySequence& shortcut : action.shortcuts()) {
        keys << shortcut.toString(QKeySequence::NativeText);
    }
    if (keys.isEmpty()) {
        return action.text().section(QLatin1Char('\t'), 1);
    }
    return keys.join(QStringLiteral(", "));
}

} // namespace

QList<ShortcutLine> shortcutLines(const QList<QAction*>& actions) {
    QList<ShortcutLine> lines;
    QSet<const QAction*> seen;
    for (const QAction* action : actions) {
        if (action->isSeparator() || seen.contains(action)) {
            continue;
        }
        seen.insert(action);
        const QString keys = keysOf(*action);
        if (!keys.isEmpty()) {
            lines.append({visibleCaption(action->text().section(QLatin1Char('\t'), 0, 0)), keys});
        }
    }
    return lines;
}

ShortcutsWindow::ShortcutsWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), m_table(new QTreeWidget(this)),
      m_findSyntax(new QLabel(kFindSyntax, this)) {
    setObjectName(QStringLiteral("ShortcutsWindow"));
    setWindowTitle(kTitle);
    m_table->setObjectName(QStringLiteral("Shortcuts"));
    m_table->setHeaderLabels({kCommandHeader, kKeysHeader});
    m_table->setRootIsDecorated(false);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_findSyntax->setObjectName(QStringLiteral("FindSyntax"));
    m_findSyntax->setWordWrap(true);
    m_findSyntax->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QWidget::close);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);

    auto* column = new QVBoxLayout(this);
    column->addWidget(m_table, 1);
    column->addWidget(new QLabel(kAltNote, this));
    column->addWidget(m_findSyntax);
    column->addWidget(buttons);
    resize(480, 560);
}

void ShortcutsWindow::setLines(const QList<ShortcutLine>& lines) {
    m_table->clear();
    for (const ShortcutLine& line : lines) {
        new QTreeWidgetItem(m_table, {line.command, line.keys});
    }
}

QStringList ShortcutsWindow::shownLines() const {
    QStringList shown;
    for (int i = 0; i < m_table->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = m_table->topLevelItem(i);
        shown << item->text(0) + QLatin1Char('|') + item->text(1);
    }
    return shown;
}

QString ShortcutsWindow::findSyntax() const {
    return m_findSyntax->text();
}
