// reelkeeper-cli copy: add, list or remove the copies of a movie.
#include "cli/cli.h"
#include "cli/command.h"
#include "core/covers/cover_store.h"
#include "core/formats/csv_writer.h"
#include "core/report/failure.h"
#include "core/shelf/barcode.h"
#include "core/shelf/shelf_store.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace {

const QString kUsage = QStringLiteral("add|list|remove ID");
const QString kCommand = QStringLiteral("copy");
const QCommandLineOption kFormat(QStringLiteral("format"),
                                 QStringLiteral("add: the copy's format: %1 (any case).")
                                     .arg(ShelfNames::formatNames().join(QStringLiteral(", "))),
                                 QStringLiteral("F"));
const QCommandLineOption kEdition(QStringLiteral("edition"),
                                  QStringLiteral("add: the edition (\"Final Cut\")."),
                                  QStringLiteral("E"));
const QCommandLineOption
    kBarcode(QStringLiteral("barcode"),
             QStringLiteral("add: the barcode, an EAN-13, UPC-A or EAN-8 with its check digit."),
             QStringLiteral("B"));
const QCommandLineOption kLocation(QStringLiteral("location"),
                                   QStringLiteral("add: where it stands (\"Shelf B\")."),
                                   QStringLiteral("L"));
const QCommandLineOption kStatus(QStringLiteral("status"),
                                 QStringLiteral("add: %1 (owned when not given).")
                                     .arg(ShelfNames::statusNames().join(QLatin1Char('|'))),
                                 QStringLiteral("S"));
const QList<QCommandLineOption> kAddOptions = {kFormat, kEdition, kBarcode, kLocation, kStatus};
// The columns of copy list, one row per copy.
const QStringList kListHeader = {
    QStringLiteral("copy_id"),  QStringLiteral("format"), QStringLiteral("edition"),
    QStringLiteral("barcode"),  QStringLiteral("discs"),  QStringLiteral("location"),
    QStringLiteral("acquired"), QStringLiteral("price"),  QStringLiteral("condition"),
    QStringLiteral("status"),   QStringLiteral("note")};

class CopyCommand : public Command {
public:
    QString name() const override { return kCommand; }
    QString description() const override {
        return QStringLiteral("Add, list or remove the copies of a movie (its formats, editions, "
                              "barcodes and where they stand).");
    }
    QString details() const override {
        return QStringLiteral(
            "Actions:\n"
            "  add ID --format F   add a copy of movie ID and print the new copy's id\n"
            "  list ID             print the copies of movie ID as CSV\n"
            "  remove COPYID       remove the copy with that id");
    }
    QList<QCommandLineOption> options() const override { return kAddOptions; }
    QString freeArguments() const override { return kUsage; }
    int run(const QCommandLineParser& parser, CommandContext& context) const override;
};

const CommandRegistration<CopyCommand> kRegistration;

// The copy the options of copy add describe; fails with what is not understood.
ShelfCopy copyFromOptions(const QCommandLineParser& parser, qint64 movieId) {
    if (!parser.isSet(kFormat)) {
        throw Failure(QStringLiteral("copy add needs --format F."));
    }
    ShelfCopy copy;
    copy.movieId = movieId;
    const std::optional<CopyFormat> format = ShelfNames::format(parser.value(kFormat));
    if (!format) {
        throw Failure(
            QStringLiteral("'%1' is not a format: %2.")
                .arg(parser.value(kFormat), ShelfNames::formatNames().join(QStringLiteral(", "))));
    }
    copy.format = *format;
    if (parser.isSet(kStatus)) {
        const std::optional<CopyStatus> status = ShelfNames::status(parser.value(kStatus));
        if (!status) {
            throw Failure(QStringLiteral("'%1' is not a status: %2.")
                              .arg(parser.value(kStatus),
                                   ShelfNames::statusNames().join(QStringLiteral(", "))));
        }
        copy.status = *status;
    }
    copy.barcode = parser.value(kBarcode).trimmed();
    if (const QString problem = Barcode::problem(copy.barcode);
        parser.isSet(kBarcode) && !problem.isEmpty()) {
        throw Failure(problem);
    }
    copy.edition = parser.value(kEdition);
    copy.location = parser.value(kLocation);
    return copy;
}

void listCopies(Catalogue& catalogue, qint64 movieId, QIODevice& out) {
    if (!catalogue.movie(QString::number(movieId))) {
        throw Failure(kNoSuchMovie.arg(movieId));
    }
    CsvWriter csv(out);
    for (const QString& column : kListHeader) {
        csv.field(column);
    }
    csv.endRecord();
    for (const ShelfCopy& copy : ShelfStore(catalogue).copies(movieId)) {
        const QString fields[] = {QString::number(copy.id),
                                  ShelfNames::name(copy.format),
                                  copy.edition,
                                  copy.barcode,
                                  copy.discs > 0 ? QString::number(copy.discs) : QString(),
                                  copy.location,
                                  copy.acquired.toString(Qt::ISODate),
                                  priceText(copy),
                                  copy.condition,
                                  ShelfNames::name(copy.status),
                                  copy.note};
        for (const QString& field : fields) {
            csv.field(field);
        }
        csv.endRecord();
    }
    csv.flush();
}

int CopyCommand::run(const QCommandLineParser& parser, CommandContext& context) const {
    const QStringList arguments = parser.positionalArguments();
    const QString action = arguments.value(0);
    if (action != QStringLiteral("add") && action != QStringLiteral("list") &&
        action != QStringLiteral("remove")) {
        return context.notUnderstood(
            kCommand, action.isEmpty() ? QStringLiteral("copy needs one of: %1.").arg(kUsage)
                                       : QStringLiteral("copy has no action '%1'.").arg(action));
    }
    const QString what =
        action == QStringLiteral("remove") ? QStringLiteral("COPYID") : QStringLiteral("ID");
    if (arguments.size() != 2) {
        return context.notUnderstood(kCommand,
                                     QStringLiteral("copy %1 takes %2.").arg(action, what));
    }
    if (action != QStringLiteral("add")) {
        for (const QCommandLineOption& option : kAddOptions) {
            if (parser.isSet(option)) {
                return context.notUnderstood(kCommand,
                                             QStringLiteral("copy %1 takes no --%2.")
                                                 .arg(action, option.names().constFirst()));
            }
        }
    }
    qint64 id = 0;
    ShelfCopy copy;
    try {
        id = shelfId(arguments.at(1), what == QStringLiteral("ID") ? QStringLiteral("movie")
                                                                   : QStringLiteral("copy"));
        if (action == QStringLiteral("add")) {
            copy = copyFromOptions(parser, id);
        }
    } catch (const Failure& failure) {
        return context.notUnderstood(kCommand, failure.description());
    }

    Catalogue catalogue;
    if (action == QStringLiteral("list")) {
        context.openCatalogue(catalogue, Catalogue::Access::ReadOnly);
        listCopies(catalogue, id, context.out);
        return Cli::kExitDone;
    }
    context.openCatalogue(catalogue, Catalogue::Access::ReadWrite);
    ShelfStore store(catalogue);
    if (action == QStringLiteral("add")) {
        QTextStream(&context.out) << store.addCopy(copy) << '\n';
    } else if (!store.removeCopy(id)) {
        throw Failure(kNoSuchCopy.arg(id));
    }
    return Cli::kExitDone;
}

} // namespace
