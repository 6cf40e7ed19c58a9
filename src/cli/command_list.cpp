// reelkeeper-cli list: every movie as CSV, in the order the window's list
// first shows them.
#include "cli/command.h"
#include "core/covers/cover_store.h"
#include "core/formats/csv_writer.h"
#include "core/shelf/shelf_store.h"

#include <QCommandLineParser>

namespace {

const QCommandLineOption kCoversOption(
    QStringLiteral("covers"),
    QStringLiteral("Add a last column 'cover': 'yes' for a movie with a cover, else empty."));

const QCommandLineOption kCopiesOption(
    QStringLiteral("copies"),
    QStringLiteral("One row per copy, with the columns copy_id, format, edition, barcode, "
                   "location and status last; a movie without copies has one row with them "
                   "empty."));
const QStringList kCopyColumns = {QStringLiteral("copy_id"),  QStringLiteral("format"),
                                  QStringLiteral("edition"),  QStringLiteral("barcode"),
                                  QStringLiteral("location"), QStringLiteral("status")};

// The copies of every movie, by movie id.
QHash<qint64, std::vector<ShelfCopy>> copiesByMovie(Catalogue& catalogue) {
    QHash<qint64, std::vector<ShelfCopy>> copies;
    for (ShelfCopy& copy : ShelfStore(catalogue).allCopies()) {
        copies[copy.movieId].push_back(std::move(copy));
    }
    return copies;
}

class ListCommand : public Command {
public:
    QString name() const override { return QStringLiteral("list"); }
    QString description() const override {
        return QStringLiteral("Print every movie as CSV (RFC 4180, UTF-8) in title order.");
    }
    QList<QCommandLineOption> options() const override { return {kCoversOption, kCopiesOption}; }
    int run(const QCommandLineParser& parser, CommandContext& context) const override;
};

const CommandRegistration<ListCommand> kRegistration;

int ListCommand::run(const QCommandLineParser& parser, CommandContext& context) const {
    Catalogue catalogue;
    context.openCatalogue(catalogue, Catalogue::Access::ReadOnly);
    const bool withCovers = parser.isSet(kCoversOption);
    const QSet<qint64> covered = withCovers ? CoverStore(catalogue).ids() : QSet<qint64>{};
    const QString yes = QStringLiteral("yes");
    const bool withCopies = parser.isSet(kCopiesOption);
    const QHash<qint64, std::vector<ShelfCopy>> copies =
        withCopies ? copiesByMovie(catalogue) : QHash<qint64, std::vector<ShelfCopy>>{};
    const std::vector<ShelfCopy> noCopy(1);

    // The id, then the eight fields in their fixed order; the movies are
    // written as they are read, never held together. The header goes out
    // once the read has started, so a catalogue that cannot be read prints
    // nothing.
    CsvWriter csv(context.out);
    bool headerWritten = false;
    const auto writeHeader = [&] {
        csv.field(catalogueColumnName(MovieColumn::Id));
        for (int i = 0; i < DvdRecord::kFieldCount; ++i) {
            csv.field(catalogueColumnName(fieldColumn(i)));
        }
        if (withCovers) {
            csv.field(u"cover");
        }
        for (const QString& column : withCopies ? kCopyColumns : QStringList()) {
            csv.field(column);
        }
        csv.endRecord();
        headerWritten = true;
    };
    catalogue.forEachMovie([&](const DvdRecord& movie) {
        if (!headerWritten) {
            writeHeader();
        }
        const auto writeMovie = [&] {
            csv.field(movie.id);
            for (int i = 0; i < DvdRecord::kFieldCount; ++i) {
                csv.field(movie.field(i));
            }
            if (withCovers) {
                csv.field(covered.contains(movie.id.toLongLong()) ? yes : QString());
            }
        };
        if (!withCopies) {
            writeMovie();
            csv.endRecord();
            return;
        }
        const auto found = copies.constFind(movie.id.toLongLong());
        for (const ShelfCopy& copy : found == copies.constEnd() ? noCopy : *found) {
            writeMovie();
            csv.field(copy.id > 0 ? QString::number(copy.id) : QString());
            csv.field(copy.id > 0 ? ShelfNames::name(copy.format) : QString());
            csv.field(copy.edition);
            csv.field(copy.barcode);
            csv.field(copy.location);
            csv.field(copy.id > 0 ? ShelfNames::name(copy.status) : QString());
            csv.endRecord();
        }
    });
    if (!headerWritten) {
        writeHeader();
    }
    csv.flush();
    return 0;
}

} // namespace
