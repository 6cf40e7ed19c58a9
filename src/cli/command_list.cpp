// reelkeeper-cli list: every movie as CSV, in the order the window's list
// first shows them.
#include "cli/command.h"
#include "core/formats/csv_writer.h"

#include <array>

namespace {

class ListCommand : public Command {
public:
    QString name() const override { return QStringLiteral("list"); }
    QString description() const override {
        return QStringLiteral("Print every movie as CSV (RFC 4180, UTF-8) in title order.");
    }
    int run(const QCommandLineParser&, CommandContext& context) const override;
};

const CommandRegistration<ListCommand> kRegistration;

int ListCommand::run(const QCommandLineParser&, CommandContext& context) const {
    Catalogue catalogue;
    context.openCatalogue(catalogue, Catalogue::Access::ReadOnly);
    Recordset rows = catalogue.readAll();

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
    csv.endRecord();
    for (; !rows.atEnd(); rows.next()) {
        for (const int position : positions) {
            csv.field(rows.field(position));
        }
        csv.endRecord();
    }
    csv.flush();
    return 0;
}

} // namespace
