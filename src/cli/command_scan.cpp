// reelkeeper-cli scan BARCODE: which copies in the catalogue carry a barcode.
#include "cli/cli.h"
#include "cli/command.h"
#include "core/report/failure.h"
#include "core/shelf/barcode.h"
#include "core/shelf/shelf_store.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace {

const QString kNotInCatalogue = QStringLiteral("%1 is not in the catalogue.");

class ScanCommand : public Command {
public:
    QString name() const override { return QStringLiteral("scan"); }
    QString description() const override {
        return QStringLiteral("Name each copy with the barcode BARCODE: its movie's title, "
                              "format, edition and location.");
    }
    QString details() const override {
        return QStringLiteral("Exits with 1 when no copy has the barcode, and with 2 when "
                              "BARCODE is not an EAN-13, UPC-A or EAN-8 with its check digit.");
    }
    QStringList arguments() const override { return {QStringLiteral("BARCODE")}; }
    int run(const QCommandLineParser& parser, CommandContext& context) const override {
        const QString barcode = parser.positionalArguments().constFirst().trimmed();
        if (const QString problem = Barcode::problem(barcode); !problem.isEmpty()) {
            context.err << QStringLiteral("reelkeeper-cli: ") << problem << '\n';
            return Cli::kExitNotUnderstood;
        }
        Catalogue catalogue;
        context.openCatalogue(catalogue, Catalogue::Access::ReadOnly);
        const std::vector<FoundCopy> found = ShelfStore(catalogue).findBarcode(barcode);
        if (found.empty()) {
            throw Failure(kNotInCatalogue.arg(barcode));
        }
        QTextStream out(&context.out);
        for (const FoundCopy& copy : found) {
            out << copy.title << QStringLiteral(": ") << describeCopy(copy.copy) << '\n';
        }
        return Cli::kExitDone;
    }
};

const CommandRegistration<ScanCommand> kRegistration;

} // namespace
