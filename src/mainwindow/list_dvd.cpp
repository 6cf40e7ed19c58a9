#include "mainwindow/list_dvd.h"

#include "core/catalogue/catalogue.h"
#include "core/report/error_trap.h"
#include "desktop/window_pointer.h"
#include "mainwindow/list_view.h"

#include <array>

namespace {

// Tells the view about the refill once, at the end, however the fill ends.
class FillScope {
public:
    explicit FillScope(MovieListModel& model) : m_model(model) { m_model.beginFill(); }
    ~FillScope() { m_model.endFill(); }
    FillScope(const FillScope&) = delete;
    FillScope& operator=(const FillScope&) = delete;

private:
    MovieListModel& m_model;
};

// The report lines of the eight sub-items, in column order.
constexpr int kSubItemLines[DvdRecord::kFieldCount] = {118, 120, 122, 124, 126, 128, 130, 132};

} // namespace

void listDVD(ListView& list, Catalogue& catalogue, WindowPointer& pointer, MessageBoxes& boxes) {
    ErrorTrap trap(boxes, QStringLiteral("modDVD.listDVD"));
    Recordset rs; // closed until the read succeeds; there is nothing to create first
    MovieListModel& items = list.items();

    trap.step(102, [&] { pointer.setShape(Pointer::Busy); });
    {
        FillScope fill(items);
        trap.step(104, [&] { items.clear(); });
        trap.step(106, [&] { rs = catalogue.readAll(); });

        // A record-set that never opened has nothing to walk: its failure was
        // reported at 106. A failing end test or move ends the walk after
        // its one report, so a broken read cannot repeat without end; the
        // rows already shown stay.
        const bool readable = rs.isOpen();
        if (readable) {
            items.reserve(rs.rowCount());
        }
        // Column positions are looked up once; a missing column fails on
        // every row and is reported once, its cells left empty.
        std::array<int, DvdRecord::kFieldCount + 1> position{};
        position.fill(-1);
        auto valueOf = [&](int cell) {
            if (position[std::size_t(cell)] < 0) {
                position[std::size_t(cell)] =
                    rs.fieldIndex(cell == 0 ? MovieColumn::Id : fieldColumn(cell - 1));
            }
            return rs.field(position[std::size_t(cell)]);
        };
        while (readable) {
            bool atEnd = true;
            trap.stepInLoop(114, [&] { atEnd = rs.atEnd(); });
            if (atEnd || trap.failedInLoop(114)) {
                break;
            }
            // The row goes into the list once its id and eight sub-items are read.
            std::array<QStringView, MovieListModel::kMaxColumns> cells{};
            bool hasId = false;
            trap.stepInLoop(116, [&] {
                cells[0] = valueOf(0);
                hasId = true;
            });
            for (int field = 1; field <= DvdRecord::kFieldCount; ++field) {
                trap.stepInLoop(kSubItemLines[field - 1],
                                [&] { cells[std::size_t(field)] = valueOf(field); });
            }
            if (hasId) {
                trap.stepInLoop(116, [&] { items.addRow(cells); });
            }
            trap.stepInLoop(134, [&] { rs.next(); });
            if (trap.failedInLoop(134)) {
                break;
            }
        }
    }
    if (trap.test(136, [&] { return rs.isOpen(); })) {
        trap.step(136, [&] { rs.close(); });
    }
    trap.step(138, [&] { pointer.setShape(Pointer::Arrow); });
}
