// reelkeeper-cli export FILE: every movie to a .csv or .xlsx file.
#include "cli/command.h"
#include "core/export/catalogue_export.h"
#include "core/import/import_store.h"
#include "core/report/failure.h"
#include "core/system/write_guard.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QTextStream>

namespace {

const QStringList kFileKinds = {QStringLiteral("csv"), QStringLiteral("xlsx")};
const QCommandLineOption kCopiesOption(
    QStringLiteral("copies"),
    QStringLiteral("One row per copy on the shelf: the movie's columns, then copy_id, format, "
                   "edition, barcode, location, status, discs, acquired, price, currency, "
                   "condition, note, and the borrower and due date of an open loan; a movie "
                   "without copies has one row with them empty. 'import' reads such a file back "
                   "(all but the loans)."));

class ExportCommand : public Command {
public:
    QString name() const override { return QStringLiteral("export"); }
    QString description() const override {
        return QStringLiteral("Write every movie to FILE, by its extension: .csv as 'list' "
                              "prints it, or .xlsx.");
    }
    QStringList arguments() const override { return {QStringLiteral("FILE")}; }
    QList<QCommandLineOption> options() const override { return {kCopiesOption}; }
    int run(const QCommandLineParser& parser, CommandContext& context) const override;
};

const CommandRegistration<ExportCommand> kRegistration;

int ExportCommand::run(const QCommandLineParser& parser, CommandContext& context) const {
    const QString file = parser.positionalArguments().constFirst();
    if (!kFileKinds.contains(QFileInfo(file).suffix().toLower())) {
        return context.notUnderstood(
            name(), QStringLiteral("export writes a .csv or .xlsx file, not '%1'.").arg(file));
    }
    Catalogue catalogue;
    context.openCatalogue(catalogue, Catalogue::Access::ReadOnly);
    checkOutputFile(file);
    const CatalogueExportResult result = parser.isSet(kCopiesOption)
                                             ? exportCatalogueCopies(file, catalogue)
                                             : exportCatalogueFile(file, catalogue);
    QTextStream out(&context.out);
    out << QStringLiteral("Exported %1 to %2.\n")
               .arg(countOf(result.movies, QStringLiteral("movie"), QStringLiteral("movies")),
                    file);
    if (result.cutValues > 0) {
        context.err << QStringLiteral("reelkeeper-cli: %1 longer than a workbook cell holds "
                                      "were cut to fit.\n")
                           .arg(countOf(result.cutValues, QStringLiteral("value"),
                                        QStringLiteral("values")));
    }
    return 0;
}

} // namespace
