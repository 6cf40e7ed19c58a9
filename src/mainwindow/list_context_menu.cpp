#include "mainwindow/list_context_menu.h"

#include "mainwindow/catalogue_file_commands.h"
#include "mainwindow/cover_features.h"
#include "mainwindow/form1.h"
#include "mainwindow/list_finder.h"
#include "mainwindow/list_view.h"

#include <QAction>
#include <QKeySequence>
#include <functional>

namespace {

const QString kFindEntry = QStringLiteral("&Find\u2026");
const QString kSetCoverEntry = QStringLiteral("Set cover\u2026");
const QString kRemoveCoverEntry = QStringLiteral("Remove cover");
const QString kShowCoversEntry = QStringLiteral("Show covers");
const QString kShowListEntry = QStringLiteral("Show list");
const QString kRestoreEntry = QStringLiteral("&Restore a snapshot\u2026");

void addEntry(ListView& list, const QString& text, const QKeySequence& shortcut,
              std::function<void()> run) {
    auto* action = new QAction(text, &list);
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(action, &QAction::triggered, &list, std::move(run));
    list.addAction(action);
}

} // namespace

void buildListContextMenu(Form1& window) {
    ListView& list = window.ListView1();
    list.setContextMenuPolicy(Qt::ActionsContextMenu);
    addEntry(list, kFindEntry, QKeySequence::Find, [&window] { window.finder().open(); });
    addEntry(list, kSetCoverEntry, {}, [&window] { window.covers().chooseCoverForSelected(); });
    addEntry(list, kRemoveCoverEntry, {}, [&window] { window.covers().removeSelectedCover(); });
    addEntry(list, kShowCoversEntry, Qt::CTRL | Qt::Key_2,
             [&window] { window.covers().switchToCovers(); });
    addEntry(list, kShowListEntry, Qt::CTRL | Qt::Key_1,
             [&window] { window.covers().switchToList(); });
    addEntry(list, kRestoreEntry, {}, [&window] { window.chooseSnapshotToRestore(); });
    addEntry(list, CatalogueFileCommands::kImportEntry, QKeySequence(Qt::CTRL | Qt::Key_I),
             [&window] { CatalogueFileCommands::chooseAndImport(window); });
    addEntry(list, CatalogueFileCommands::kExportEntry, QKeySequence(Qt::CTRL | Qt::Key_E),
             [&window] { CatalogueFileCommands::chooseAndExport(window); });
}
