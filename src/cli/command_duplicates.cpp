// reelkeeper-cli duplicates: movies that look like one film stored twice.
#include "cli/command.h"
#include "core/formats/csv_writer.h"
#include "core/shelf/shelf_store.h"

#include <QHash>

namespace {

const QStringList kHeader = {QStringLiteral("group"),   QStringLiteral("match"),
                             QStringLiteral("barcode"), QStringLiteral("id"),
                             QStringLiteral("title"),   QStringLiteral("year"),
                             QStringLiteral("director")};

class DuplicatesCommand : public Command {
public:
    QString name() const override { return QStringLiteral("duplicates"); }
    QString description() const override {
        return QStringLiteral(
            "Print likely duplicates as CSV, one row per movie, numbered by group: movies "
            "with copies of one barcode ('barcode'), else of the same title, year and "
            "director ignoring case and accents ('title'); never the title alone.");
    }
    int run(const QCommandLineParser&, CommandContext& context) const override {
        Catalogue catalogue;
        context.openCatalogue(catalogue, Catalogue::Access::ReadOnly);
        const std::vector<DuplicateGroup> groups = ShelfStore(catalogue).duplicates();
        QHash<qint64, DvdRecord> movies;
        for (const DuplicateGroup& group : groups) {
            for (const qint64 id : group.movieIds) {
                movies.insert(id, {});
            }
        }
        catalogue.forEachMovie([&](const DvdRecord& movie) {
            if (const auto found = movies.find(movie.id.toLongLong()); found != movies.end()) {
                *found = movie;
            }
        });
        CsvWriter csv(context.out);
        for (const QString& column : kHeader) {
            csv.field(column);
        }
        csv.endRecord();
        int number = 0;
        for (const DuplicateGroup& group : groups) {
            ++number;
            const bool byBarcode = group.match == DuplicateGroup::Match::Barcode;
            for (const qint64 id : group.movieIds) {
                const DvdRecord& movie = movies[id];
                const QString fields[] = {QString::number(number),
                                          byBarcode ? QStringLiteral("barcode")
                                                    : QStringLiteral("title"),
                                          group.barcode,
                                          QString::number(id),
                                          movie.title,
                                          movie.year,
                                          movie.director};
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

const CommandRegistration<DuplicatesCommand> kRegistration;

} // namespace
