#include "mainwindow/window_feature.h"

#include "mainwindow/list_view.h"
#include "mainwindow/window_context.h"

#include <QAction>
#include <QKeySequence>

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
                                 std::function<void()> run) {
    ListView& list = m_context.list();
    list.setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* action = new QAction(text, &list);
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, std::move(run));
    list.addAction(action);
    return action;
}
