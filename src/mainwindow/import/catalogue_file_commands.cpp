#include "mainwindow/import/catalogue_file_commands.h"

#include "core/catalogue/catalogue.h"
#include "core/export/catalogue_export.h"
#include "core/import/import_file.h"
#include "core/import/import_store.h"
#include "core/import/remembered_columns.h"
#include "core/import/text_table_reader.h"
#include "core/report/failure.h"
#include "core/report/message_boxes.h"
#include "core/settings/settings.h"
#include "core/shelf/shelf_store.h"
#include "core/system/write_guard.h"
#include "desktop/window_pointer.h"
#include "mainwindow/covers/cover_commands.h"
#include "mainwindow/import/import_preview_dialog.h"
#include "mainwindow/list_view.h"
#include "mainwindow/snapshots/safety_snapshot.h"
#include "mainwindow/window_context.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QProgressDialog>

namespace {

const QString kImportFilter =
    QStringLiteral("Movie lists (*.csv *.tsv *.txt *.xlsx *.ods);;All files (*)");
const QString kCsvFilter = QStringLiteral("CSV (*.csv)");
const QString kXlsxFilter = QStringLiteral("Excel workbook (*.xlsx)");
// Offered once the catalogue has a shelf: one row per copy.
const QString kCsvCopiesFilter = QStringLiteral("CSV, one row per copy (*.csv)");
const QString kXlsxCopiesFilter = QStringLiteral("Excel workbook, one row per copy (*.xlsx)");
const QString kReading = QStringLiteral("Reading %1\u2026");
const QString kAdding = QStringLiteral("Adding the movies\u2026");
const QString kNotImported = QStringLiteral("%1 could not be imported. Nothing was added.\n\n%2");
const QString kCancelled = QStringLiteral("The import was cancelled. Nothing was added.");
const QString kExported = QStringLiteral("Exported %1 to %2.");
const QString kCutValues = QStringLiteral("%1 longer than a workbook cell holds were cut to fit.");
const QString kNotExported = QStringLiteral("The catalogue could not be exported.\n\n%1");
// How the messages and the preview name text pasted onto the list.
const QString kPastedText = QStringLiteral("The pasted text");
const QString kTooMuchText = QStringLiteral("The text is %1; more than %2 is not imported.");
// Shown only when reading or storing takes longer than this.
constexpr int kProgressAfterMs = 500;

// A window-modal progress dialog with Cancel that appears only for work that
// takes a while.
class Progress {
public:
    Progress(QWidget& window, const QString& text)
        : m_dialog(text, QStringLiteral("Cancel"), 0, 0, &window) {
        m_dialog.setObjectName(QStringLiteral("importProgress"));
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(kProgressAfterMs);
        m_dialog.setAutoClose(false);
        m_dialog.setAutoReset(false);
    }
    // Shows how far the work is; false once Cancel was pressed.
    bool step(qint64 done, qint64 total) {
        // The dialog counts in int: large totals are scaled down.
        const int shift = total > INT_MAX / 2 ? 20 : 0;
        m_dialog.setMaximum(int(total >> shift));
        m_dialog.setValue(int(done >> shift));
        return !m_dialog.wasCanceled();
    }

private:
    QProgressDialog m_dialog;
};

// The local files a drag carries, unless one is named like an image: such a
// file dropped on the window is meant as a cover, never as a movie list.
QStringList localFiles(const QMimeData* data) {
    QStringList files;
    if (data && data->hasUrls()) {
        for (const QUrl& url : data->urls()) {
            if (!url.isLocalFile() || CoverCommands::isImageFileName(url.toLocalFile())) {
                return {};
            }
            files << url.toLocalFile();
        }
    }
    return files;
}

// A dialog's title is its entry's text without the access key's marker.
QString dialogTitle(const QString& entry) {
    return QString(entry).remove(QLatin1Char('&'));
}

} // namespace

CatalogueFileCommands::CatalogueFileCommands(WindowContext& context)
    : WindowFeature(context, QStringLiteral("CatalogueFileCommands")) {
    addEntry(
        kImportEntry, QKeySequence(Qt::CTRL | Qt::Key_I), [this] { chooseAndImport(); },
        BarMenu::File);
    addEntry(
        kExportEntry, QKeySequence(Qt::CTRL | Qt::Key_E), [this] { chooseAndExport(); },
        BarMenu::File);
    context.window().setAcceptDrops(true);
    context.window().installEventFilter(this);
    context.list().installEventFilter(this);
}

void CatalogueFileCommands::importFile(const QString& path) {
    previewAndAdd(QFileInfo(path).fileName(), [this, path](const ImportProgress& progress,
                                                           const QString& sheet,
                                                           const ColumnOptions& options) {
        const ImportLimits limits;
        return planImport(*openImportFile(path, limits, sheet),
                          LookAlikeKeys(context().services().catalogue), options, progress, limits);
    });
}

void CatalogueFileCommands::importText(const QString& text) {
    previewAndAdd(kPastedText, [this, text](const ImportProgress& progress, const QString&,
                                            const ColumnOptions& options) {
        const QByteArray bytes = text.toUtf8();
        const ImportLimits limits;
        if (bytes.size() > limits.fileBytes) {
            throw ImportFailure(
                ImportProblem::TooLarge,
                kTooMuchText.arg(sizeText(bytes.size()), sizeText(limits.fileBytes)));
        }
        auto buffer = std::make_unique<QBuffer>();
        buffer->setData(bytes);
        buffer->open(QIODevice::ReadOnly);
        TextTableReader reader(std::move(buffer), limits);
        return planImport(reader, LookAlikeKeys(context().services().catalogue), options, progress,
                          limits);
    });
}

void CatalogueFileCommands::previewAndAdd(const QString& name, const PlanSource& source) {
    SettingsStore& settings = context().services().settings;
    ColumnOptions options; // as the plan was last read
    ImportPlan plan;
    const auto read = [&](const QString& sheet, ColumnOptions with) {
        // A file whose columns name no title is shown all the same, for the
        // person to choose the title's column.
        with.titleMayBeMissing = true;
        if (!readPlanWith(name, plan, [&](const ImportProgress& progress) {
                return source(progress, sheet, with);
            })) {
            return false;
        }
        options = with;
        return true;
    };
    // The columns as first shown, to tell whether the person changed them.
    std::vector<int> shownFields;
    const auto recall = [&] {
        std::optional<std::vector<int>> remembered;
        if (plan.hasHeader) {
            remembered = rememberedFields(settings, headersOf(plan));
        }
        if (remembered && *remembered != fieldsOf(plan)) {
            ColumnOptions with = options;
            with.choices = choicesByPosition(*remembered);
            read(plan.sheetName, with);
        }
        shownFields = fieldsOf(plan);
    };
    if (!read({}, options)) {
        return;
    }
    recall();
    ImportPreviewDialog preview(plan, name, &context().window());
    // The movies of the file a stored one already stands for.
    const auto countDuplicates = [&] {
        try {
            ShelfStore shelf(context().services().catalogue);
            preview.setDuplicateCount(shelf.countDuplicates([&plan](const auto& add) {
                plan.movies.forEach(false, [&add](const PlannedMovie& movie) {
                    add(movie.movie());
                    return true;
                });
            }));
        } catch (const Failure&) {
            preview.setDuplicateCount(0); // the import works without the count
        }
    };
    countDuplicates();
    connect(&preview, &ImportPreviewDialog::sheetChosen, this, [&](const QString& sheet) {
        // Another sheet has columns of its own.
        ColumnOptions with;
        with.runtimeInMinutes = preview.columnOptions().runtimeInMinutes;
        if (read(sheet, with)) {
            recall();
        }
        preview.showPlan(plan);
        countDuplicates();
    });
    connect(&preview, &ImportPreviewDialog::columnsChosen, this, [&] {
        read(plan.sheetName, preview.columnOptions());
        preview.showPlan(plan);
        countDuplicates();
    });
    if (preview.exec() != QDialog::Accepted) {
        return;
    }
    if (plan.hasHeader && fieldsOf(plan) != shownFields) {
        try {
            rememberFields(settings, headersOf(plan), fieldsOf(plan));
        } catch (const Failure&) {
            // The import works without the columns being remembered.
        }
    }
    addPlanned(plan, name, preview.skipLookAlikes());
}

void CatalogueFileCommands::addPlanned(const ImportPlan& plan, const QString& name, bool skip) {
    QWidget& window = context().window();
    MessageBoxes& boxes = context().services().boxes;
    Catalogue& catalogue = context().services().catalogue;
    const qint64 count = plan.addCount(skip);
    if (!snapshotBeforeChange(catalogue, boxes, SnapshotReason::Import)) {
        return;
    }
    try {
        Progress adding(window, kAdding);
        const bool done = storePlannedMovies(
            catalogue, plan, skip, [&](qint64 added) { return adding.step(added, count); });
        if (!done) {
            boxes.tell(kCancelled);
            return;
        }
    } catch (const Failure& failure) {
        boxes.warn(kNotImported.arg(name, failure.description()));
        return;
    }
    context().refill();
    boxes.tell(addedMessage(count));
}

bool CatalogueFileCommands::readPlanWith(
    const QString& name, ImportPlan& plan,
    const std::function<ImportPlan(const ImportProgress&)>& read) {
    MessageBoxes& boxes = context().services().boxes;
    try {
        Progress reading(context().window(), kReading.arg(name));
        plan = read([&reading](qint64 done, qint64 total) { return reading.step(done, total); });
        return true;
    } catch (const ImportFailure& failure) {
        if (failure.problem() != ImportProblem::Cancelled) {
            boxes.warn(kNotImported.arg(name, failure.description()));
        }
    } catch (const Failure& failure) {
        boxes.warn(kNotImported.arg(name, failure.description()));
    }
    return false;
}

void CatalogueFileCommands::chooseAndImport() {
    const QString path = QFileDialog::getOpenFileName(&context().window(),
                                                      dialogTitle(kImportEntry), {}, kImportFilter);
    if (!path.isEmpty()) {
        importFile(path);
    }
}

void CatalogueFileCommands::chooseAndExport() {
    Catalogue& catalogue = context().services().catalogue;
    QStringList filters = {kCsvFilter, kXlsxFilter};
    if (ShelfStore(catalogue).hasTables()) {
        filters << kCsvCopiesFilter << kXlsxCopiesFilter;
    }
    QString filter = kCsvFilter;
    QString path = QFileDialog::getSaveFileName(&context().window(), dialogTitle(kExportEntry), {},
                                                filters.join(QStringLiteral(";;")), &filter);
    if (path.isEmpty()) {
        return;
    }
    const bool copies = filter == kCsvCopiesFilter || filter == kXlsxCopiesFilter;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != u"csv" && suffix != u"xlsx") {
        path += filter == kXlsxFilter || filter == kXlsxCopiesFilter ? QStringLiteral(".xlsx")
                                                                     : QStringLiteral(".csv");
    }
    MessageBoxes& boxes = context().services().boxes;
    CatalogueExportResult result;
    try {
        BusyPointer busy(context().pointer());
        checkOutputFile(path);
        result =
            copies ? exportCatalogueCopies(path, catalogue) : exportCatalogueFile(path, catalogue);
    } catch (const Failure& failure) {
        boxes.warn(kNotExported.arg(failure.description()));
        return;
    }
    QString text =
        kExported.arg(countOf(result.movies, QStringLiteral("movie"), QStringLiteral("movies")),
                      QDir::toNativeSeparators(path));
    if (result.cutValues > 0) {
        text +=
            QLatin1Char('\n') + kCutValues.arg(countOf(result.cutValues, QStringLiteral("value"),
                                                       QStringLiteral("values")));
    }
    boxes.tell(text);
}

bool CatalogueFileCommands::pasteText() {
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    if (!mime || mime->text().trimmed().isEmpty() || mime->hasUrls() ||
        CoverCommands::holdsImage(*mime)) {
        return false; // an image is pasted as a cover; anything else is not a list
    }
    importText(mime->text());
    return true;
}

bool CatalogueFileCommands::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &context().list()) {
        return event->type() == QEvent::KeyPress &&
               static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste) && pasteText();
    }
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (localFiles(drag->mimeData()).isEmpty()) {
            return false;
        }
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList files = localFiles(drop->mimeData());
        if (files.isEmpty()) {
            return false;
        }
        drop->acceptProposedAction();
        // The program that started the drag waits for the drop to end:
        // the preview comes up after it.
        QMetaObject::invokeMethod(
            this,
            [this, files] {
                for (const QString& file : files) {
                    importFile(file);
                }
            },
            Qt::QueuedConnection);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}
