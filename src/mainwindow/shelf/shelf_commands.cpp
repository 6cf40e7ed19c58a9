#include "mainwindow/shelf/shelf_commands.h"

#include "core/catalogue/catalogue.h"
#include "core/catalogue/movie_column.h"
#include "mainwindow/list_view.h"
#include "mainwindow/shelf/copies_dialog.h"
#include "mainwindow/shelf/scan_mode.h"
#include "mainwindow/shelf/sets_dialog.h"
#include "mainwindow/window_context.h"

#include <QAction>
#include <QKeySequence>

namespace {

const QString kCopiesEntry = QStringLiteral("Cop&ies\u2026");
const QString kScanEntry = QStringLiteral("Sca&n mode");
const QString kSetsEntry = QStringLiteral("Se&ts\u2026");

} // namespace

ShelfCommands::ShelfCommands(WindowContext& context)
    : WindowFeature(context, QStringLiteral("ShelfCommands")),
      m_scanMode(new ScanMode(context, this)) {
    m_copiesEntry = addEntry(
        kCopiesEntry, QKeySequence(Qt::CTRL | Qt::Key_K), [this] { openCopies(); }, BarMenu::Edit);
    m_scanEntry = addEntry(
        kScanEntry, QKeySequence(Qt::CTRL | Qt::Key_B), [this] { openScanMode(); }, BarMenu::Edit);
    m_setsEntry = addEntry(
        kSetsEntry, {}, [this] { openSets(); }, BarMenu::Edit);
    ShelfCommands::updateEntries();
}

ShelfCommands::~ShelfCommands() = default;

void ShelfCommands::updateEntries() {
    const bool open = context().services().catalogue.isOpen();
    m_copiesEntry->setEnabled(open && context().highlightedMovie().has_value());
    m_scanEntry->setEnabled(open);
    m_setsEntry->setEnabled(open);
}

void ShelfCommands::openCopies() {
    if (m_copies || !context().catchUp()) {
        return;
    }
    const std::optional<int> row = context().highlightedRow();
    const std::optional<qint64> movie = context().highlightedMovie();
    if (!row || !movie) {
        return;
    }
    const QString title = context().list().items().cell(*row, columnIndex(MovieColumn::Title));
    const Services& services = context().services();
    m_copies = new CopiesDialog(
        services.catalogue, services.boxes, *movie, title, [this] { return context().catchUp(); },
        &context().window());
    m_copies->setAttribute(Qt::WA_DeleteOnClose);
    // The list's shelf columns show the copies as the dialog left them.
    connect(m_copies, &QDialog::finished, this, [this] { context().columnsChanged(); });
    m_copies->open();
}

void ShelfCommands::openScanMode() {
    m_scanMode->show();
}

void ShelfCommands::openSets() {
    if (m_sets || !context().catchUp()) {
        return;
    }
    // The ticked movies in the order the list shows them.
    QList<qint64> ticked;
    const MovieListModel& items = context().list().items();
    for (int row = 0; row < items.itemCount(); ++row) {
        if (items.isTicked(row)) {
            ticked << items.cell(row, columnIndex(MovieColumn::Id)).toLongLong();
        }
    }
    const Services& services = context().services();
    m_sets = new SetsDialog(
        services.catalogue, services.boxes, ticked, [this] { context().refresh(); },
        &context().window());
    m_sets->setAttribute(Qt::WA_DeleteOnClose);
    m_sets->open();
}
