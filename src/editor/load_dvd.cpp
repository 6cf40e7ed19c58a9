#include "editor/load_dvd.h"

#include "core/catalogue/catalogue.h"
#include "core/report/error_trap.h"
#include "editor/form2.h"

#include <QLineEdit>

namespace modDVD {

namespace {
// The report lines of Text1 .. Text8, in field order.
constexpr int kBoxLines[DvdRecord::kFieldCount] = {108, 110, 112, 114, 116, 118, 120, 122};
} // namespace

void loadDVD(Form2& form, const QString& id, Catalogue& catalogue, MessageBoxes& boxes) {
    ErrorTrap trap(boxes, QStringLiteral("modDVD.loadDVD"));
    Recordset rs; // closed until the read succeeds (line 100 has nothing to create)
    trap.step(102, [&] { rs = catalogue.readOne(id); });
    // Only a row actually read puts the editor into edit mode: after a failed
    // open or end test a save from the empty boxes would overwrite the stored
    // movie with blanks, so the editor stays as for a new movie.
    bool found = false;
    trap.step(104, [&] { found = !rs.atEnd(); });
    if (found) {
        trap.step(106, [&] { form.mDVDID = id; });
        for (int field = 0; field < DvdRecord::kFieldCount; ++field) {
            trap.step(kBoxLines[field], [&] {
                form.Text(field + 1).setText(rs.value(kDvdColumns[std::size_t(field)]));
            });
        }
    }
    trap.step(124, [&] {
        if (rs.isOpen()) {
            rs.close();
        }
    });
}

} // namespace modDVD
