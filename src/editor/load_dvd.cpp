#include "editor/load_dvd.h"

#include "core/catalogue/catalogue.h"
#include "core/report/error_trap.h"
#include "editor/form2.h"

#include <QLineEdit>
#include <optional>

namespace {
// The report lines of Text1 .. Text8, in field order.
constexpr int kBoxLines[DvdRecord::kFieldCount] = {108, 110, 112, 114, 116, 118, 120, 122};
} // namespace

LoadResult loadDVD(Form2& form, const QString& id, Catalogue& catalogue, MessageBoxes& boxes) {
    ErrorTrap trap(boxes, QStringLiteral("modDVD.loadDVD"));
    // Taken before the row is read: a change committed in between then
    // shows at Save as a newer version.
    const std::optional<qint64> version = catalogue.dataVersion();
    Recordset rs; // closed until the read succeeds; there is nothing to create first
    trap.step(102, [&] { rs = catalogue.readOne(id); });
    // Only a row actually read puts the editor into edit mode: after a failed
    // open or end test a save from the empty boxes would overwrite the stored
    // movie with blanks, so the editor stays as for a new movie.
    bool found = false;
    bool readable = false;
    trap.step(104, [&] {
        found = !rs.atEnd();
        readable = true;
    });
    if (found) {
        DvdRecord stored;
        stored.id = id;
        trap.step(106, [&] { form.mDVDID = id; });
        for (int field = 0; field < DvdRecord::kFieldCount; ++field) {
            trap.step(kBoxLines[field], [&] {
                stored.field(field) = rs.value(fieldColumn(field));
                form.Text(field + 1).setText(stored.field(field));
            });
        }
        form.rememberStored(stored, version);
    }
    trap.step(124, [&] {
        if (rs.isOpen()) {
            rs.close();
        }
    });
    if (found) {
        return LoadResult::Loaded;
    }
    return readable ? LoadResult::NoSuchMovie : LoadResult::Unreadable;
}
