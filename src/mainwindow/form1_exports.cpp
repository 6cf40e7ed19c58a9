// The two copy commands: ticked movies to the clipboard and to a workbook.
#include "core/report/error_trap.h"
#include "core/report/message_boxes.h"
#include "core/spreadsheet/spreadsheet_automation.h"
#include "core/system/throttled_pump.h"
#include "desktop/window_pointer.h"
#include "export/clipboard_export.h"
#include "export/workbook_export.h"
#include "mainwindow/form1.h"
#include "mainwindow/list_snapshot_of.h"

#include <functional>
#include <optional>

namespace {

const QString kCopiedMessage =
    QStringLiteral("Results have been copied to the clipboard.\r\rClick a text area where you "
                   "normally type and press Ctrl+V to paste the clipboard.");
const QString kNoSpreadsheetForSoftware =
    QStringLiteral("Excel is not installed on this computer. You need to have it installed to "
                   "use this software without error.");
const QString kNoSpreadsheetForFeature =
    QStringLiteral("Excel is not installed on this computer. You need to have it installed to "
                   "use this feature.");
const QString kCutValuesMessage =
    QStringLiteral("Some texts were longer than the %1 characters a spreadsheet cell can hold "
                   "and were cut to fit (%2 cells).");
constexpr qint64 kMegabyte = qint64(1024) * 1024;
const QString kTooLargeForClipboard =
    QStringLiteral("The ticked movies make more text than the clipboard takes (at most %1 MB). "
                   "Nothing was copied; tick fewer movies and try again.");
const QString kWorkbookStopped =
    QStringLiteral("The copy to the spreadsheet stopped before its end because cells could not "
                   "be written: %1\r\rNo workbook was shown.");

} // namespace

void Form1::PushButton2_Click() {
    ErrorTrap trap(m_services.boxes, QStringLiteral("Form1.PushButton2_Click"));
    ClipboardCopy copy = ClipboardCopy::Done;
    trap.step(106, [&] {
        BusyPointer busy(m_pointer);
        ThrottledPump pump;
        copy = copyListToClipboard(snapshotOfList(*m_list), m_services.clipboard, std::ref(pump),
                                   [this] { return m_closed; });
    });
    switch (copy) {
    case ClipboardCopy::Stopped: // the window is gone: nothing more to say
        return;
    case ClipboardCopy::TooLarge:
        trap.step(108, [&] {
            m_services.boxes.warn(kTooLargeForClipboard.arg(kClipboardTextLimitBytes / kMegabyte));
        });
        return;
    case ClipboardCopy::Done:
        break;
    }
    trap.step(108, [&] { m_services.boxes.tell(kCopiedMessage); });
}

void Form1::PushButton3_Click() {
    ErrorTrap trap(m_services.boxes, QStringLiteral("Form1.PushButton3_Click"));
    if (trap.test(100, [&] { return !SaveResultsAsExcelFileIsExcelInstalled(); })) {
        trap.step(164, [&] { m_services.boxes.tell(kNoSpreadsheetForFeature); });
        return;
    }
    // The export works from the list as it stands now, so that commands run
    // between its cells cannot take rows away from under it.
    ListSnapshot list;
    if (trap.test(108, [&] {
            list = snapshotOfList(*m_list);
            return list.rowCount() == 0;
        })) {
        return;
    }
    std::optional<BusyPointer> busy;
    trap.step(110, [&] { busy.emplace(m_pointer); });
    ThrottledPump pump;
    const WorkbookExportResult result = copyListToWorkbook(
        trap, list, m_services.spreadsheets, std::ref(pump), [this] { return m_closed; });
    if (result.stoppedByCaller) {
        return; // the window is gone: nothing is shown or said after it
    }
    trap.step(162, [&] {
        m_pointer.setShape(Pointer::Arrow);
        if (result.stoppedEarly) {
            m_services.boxes.warn(kWorkbookStopped.arg(result.stopReason));
        } else if (result.cutValues > 0) {
            m_services.boxes.warn(kCutValuesMessage.arg(kCellTextLimit).arg(result.cutValues));
        }
    });
}

bool Form1::SaveResultsAsExcelFileIsExcelInstalled() {
    // Runs with every failure ignored.
    bool installed = true;
    try {
        m_services.spreadsheets.createApplication(); // released at once; the export makes its own
    } catch (const std::exception&) {
        try {
            m_services.boxes.tell(kNoSpreadsheetForSoftware);
        } catch (const std::exception&) {
        }
        installed = false;
    }
    return installed;
}
