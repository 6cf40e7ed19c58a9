// reelkeeper-cli sets: the box sets and series, one row per movie in them.
#include "cli/command.h"
#include "core/formats/csv_writer.h"
#include "core/shelf/shelf_store.h"

namespace {

const QStringList kHeader = {
    QStringLiteral("set_id"),  QStringLiteral("set"),      QStringLiteral("kind"),
    QStringLiteral("barcode"), QStringLiteral("position"), QStringLiteral("id"),
    QStringLiteral("title"),   QStringLiteral("copy_id"),  QStringLiteral("missing")};

class SetsCommand : public Command {
public:
    QString name() const override { return QStringLiteral("sets"); }
    QString description() const override {
        return QStringLiteral("Print the box sets and series as CSV, one row per movie in them; "
                              "'missing' is 'yes' for a movie of a series with no copy owned "
                              "or ordered.");
    }
    int run(const QCommandLineParser&, CommandContext& context) const override {
        Catalogue catalogue;
        context.openCatalogue(catalogue, Catalogue::Access::ReadOnly);
        ShelfStore store(catalogue);
        CsvWriter csv(context.out);
        for (const QString& column : kHeader) {
            csv.field(column);
        }
        csv.endRecord();
        for (const ShelfSet& set : store.sets()) {
            int position = 0;
            for (const SetMember& member : store.members(set.id)) {
                const bool missing = set.kind == SetKind::Series && member.missing;
                const QString fields[] = {QString::number(set.id),
                                          set.name,
                                          ShelfNames::name(set.kind),
                                          set.barcode,
                                          QString::number(++position),
                                          QString::number(member.movieId),
                                          member.title,
                                          member.copyId > 0 ? QString::number(member.copyId)
                                                            : QString(),
                                          missing ? QStringLiteral("yes") : QString()};
                for (const QString& field : fields) {
                    csv.field(field);
                }
                csv.endRecord();
            }
        }
        csv.flush();
        return 0;
    }
};

const CommandRegistration<SetsCommand> kRegistration;

} // namespace
