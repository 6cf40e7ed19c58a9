// reelkeeper-cli list: every movie as CSV, in the order the window's list
// first shows them.
#include "cli/command.h"
#include "core/covers/cover_store.h"
#include "core/formats/csv_writer.h"

#include <QCommandLineParser>

#include <array>

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
    Recordset rows = catalogue.readAll();
    const bool withCovers = parser.isSet(kCoversOption);
    const QSet<qint64> covered = withCovers ? CoverStore(catalogue).ids() : QSet<qint64>{};
    const QString yes = QStringLiteral("yes");

    // The id, then the eight fields in their fixed order.
    std::array<QString, DvdRecord::kFieldCount + 1> columns;
    columns[0] = QStringLiteral("id");
    std::copy(kDvdColumns.begin(), kDvdColumns.end(), columns.begin() + 1);
    std::array<int, DvdRecord::kFieldCount + 1> positions{};
    CsvWriter csv(context.out);
    for (std::size_t c = 0; c < columns.size(); ++c) {
        positions[c] = rows.fieldIndex(columns[c]);
        csv.field(columns[c]);
    }
    if (withCovers) {
        csv.field(QStringLiteral("cover"));
    }
    csv.endRecord();
    for (; !rows.atEnd(); rows.next()) {
        for (const int position : positions) {
            csv.field(rows.field(position));
        }
        if (withCovers) {
            csv.field(covered.contains(rows.field(positions[0]).toLongLong()) ? yes : QString());
        }
        csv.endRecord();
    }
    csv.flush();
    return 0;
}

} // namespace
