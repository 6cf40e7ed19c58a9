// reelkeeper-cli list: every movie as CSV, in the order the window's list
// first shows them.
#include "cli/command.h"
#include "core/covers/cover_store.h"
#include "core/formats/csv_writer.h"

#include <QCommandLineParser>

namespace {

const QCommandLineOption kCoversOption(
    QStringLiteral("covers"),
    QStringLiteral("Add a last column 'cover': 'yes' for a movie with a cover, else empty."));

class ListCommand : public Command {
public:
    QString name() const override { return QStringLiteral("list"); }
    QString description() const override {
        return QStringLiteral("Print every movie as CSV (RFC 4180, UTF-8) in title order.");
    }
    QList<QCommandLineOption> options() const override { return {kCoversOption}; }
    int run(const QCommandLineParser& parser, CommandContext& context) const override;
};

const CommandRegistration<ListCommand> kRegistration;

int ListCommand::run(const QCommandLineParser& parser, CommandContext& context) const {
    Catalogue catalogue;
    context.openCatalogue(catalogue, Catalogue::Access::ReadOnly);
    const bool withCovers = parser.isSet(kCoversOption);
    const QSet<qint64> covered = withCovers ? CoverStore(catalogue).ids() : QSet<qint64>{};
    const QString yes = QStringLiteral("yes");

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
        csv.endRecord();
        headerWritten = true;
    };
    catalogue.forEachMovie([&](const DvdRecord& movie) {
        if (!headerWritten) {
            writeHeader();
        }
        csv.field(movie.id);
        for (int i = 0; i < DvdRecord::kFieldCount; ++i) {
            csv.field(movie.field(i));
        }
        if (withCovers) {
            csv.field(covered.contains(movie.id.toLongLong()) ? yes : QString());
        }
        csv.endRecord();
    });
    if (!headerWritten) {
        writeHeader();
    }
    csv.flush();
    return 0;
}

} // namespace
