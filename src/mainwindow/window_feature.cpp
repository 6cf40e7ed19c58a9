#include "mainwindow/window_feature.h"

#include "mainwindow/list_view.h"
#include "mainwindow/window_context.h"

#include <QAction>
#include <QKeySequence>
#include <QWidget>

WindowFeature::WindowFeature(WindowContext& context, const QString& name)
    : QObject(&context.window()), m_context(context) {
    setObjectName(name);
    ListView& list = context.list();
    const auto update = [this] { updateEntries(); };
    connect(list.selectionModel(), &QItemSelectionModel::selectionChanged, this, update);
    const QAbstractItemModel* model = &list.items();
    connect(model, &QAbstractItemModel::modelReset, this, update);
    connect(model, &QAbstractItemModel::layoutChanged, this, update);
    connect(model, &QAbstractItemModel::rowsInserted, this, update);
    connect(model, &QAbstractItemModel::rowsRemoved, this, update);
}

QAction* WindowFeature::addEntry(const QString& text, const QKeySequence& shortcut,
                                 std::function<void()> run, BarMenu menu) {
    ListView& list = m_context.list();
    list.setContextMenuPolicy(Qt::ActionsContextMenu);
    return makeEntry(list, text, shortcut, std::move(run), menu);
}

QAction* WindowFeature::addBarEntry(BarMenu menu, const QString& text, const QKeySequence& shortcut,
                                    std::function<void()> run) {
    // The window holds it so that its shortcut works while the bar is hidden.
    return makeEntry(m_context.window(), text, shortcut, std::move(run), menu);
}

QAction* WindowFeature::makeEntry(QWidget& owner, const QString& text, const QKeySequence& shortcut,
                                  std::function<void()> run, BarMenu menu) {
    auto* action = new QAction(text, &owner);
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, std::move(run));
    owner.addAction(action);
    if (menu != BarMenu::None) {
        m_barEntries.append({menu, action});
    }
    return action;
}
