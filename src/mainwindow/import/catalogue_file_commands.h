#pragma once

#include "mainwindow/window_feature.h"

#include "core/import/import_plan.h"

#include <QString>
#include <functional>

// Movies in from a file and the whole catalogue out to one, from the main
// window: "&Import movies…" (Ctrl+I) and "E&xport catalogue…" (Ctrl+E) in
// the list's context menu, files dropped on the window and text pasted
// (Ctrl+V) onto the list.
class CatalogueFileCommands : public WindowFeature {
    Q_OBJECT
public:
    // The entries' texts in the list's context menu.
    static inline const QString kImportEntry = QStringLiteral("&Import movies\u2026");
    static inline const QString kExportEntry = QStringLiteral("E&xport catalogue\u2026");

    explicit CatalogueFileCommands(WindowContext& context);

    // Reads the file (a progress dialog with Cancel when that takes a while),
    // shows what importing it will do and, on Import, adds the movies in one
    // transaction after a snapshot, refills the list and says how many were
    // added. Any failure and any Cancel leave the catalogue as it was.
    void importFile(const QString& path);
    // The same for a text table (CSV, tab-separated or the list's own copy).
    void importText(const QString& text);
    // "Import movies…": asks for a file, then imports it as above.
    void chooseAndImport();
    // "Export catalogue…": asks for a .csv or .xlsx file and writes every movie to it.
    void chooseAndExport();

protected:
    // Files dropped anywhere on the window are imported one after the other;
    // text pasted onto the list is imported.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Reads a plan of the sheet named (else the first with data) with the
    // columns as the options say.
    using PlanSource = std::function<ImportPlan(const ImportProgress&, const QString& sheet,
                                                const ColumnOptions&)>;

    // Reads the plan, with the columns remembered for its header row, and
    // shows the preview, reading again for another sheet or other columns;
    // on Import remembers columns the person changed and adds the movies.
    void previewAndAdd(const QString& name, const PlanSource& source);
    // Reads a plan with progress, named in its messages by `name`; false
    // after a failure it showed, or a Cancel.
    bool readPlanWith(const QString& name, ImportPlan& plan,
                      const std::function<ImportPlan(const ImportProgress&)>& read);
    // After a snapshot, adds the planned movies in one transaction, with
    // progress, refills the list and says how many were added.
    void addPlanned(const ImportPlan& plan, const QString& name, bool skip);
    // Ctrl+V on the list: imports the clipboard's text unless it holds an
    // image (a cover) or files; false when it did nothing.
    bool pasteText();
};
