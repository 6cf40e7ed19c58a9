#include "export/workbook_export.h"

#include "core/formats/list_snapshot.h"
#include "core/report/error_trap.h"
#include "core/spreadsheet/spreadsheet_automation.h"

#include <QSet>
#include <utility>

namespace {

SpreadsheetApplication& required(const std::unique_ptr<SpreadsheetApplication>& app) {
    if (!app) {
        throw Failure(QStringLiteral("The spreadsheet application was not started."));
    }
    return *app;
}

Workbook& required(Workbook* book) {
    if (!book) {
        throw Failure(QStringLiteral("No workbook is open."));
    }
    return *book;
}

QString withoutEquals(const QString& text) {
    if (!text.contains(QLatin1Char('='))) {
        return text;
    }
    QString kept = text;
    kept.remove(QLatin1Char('='));
    return kept;
}

// Writes cells through the trap: each distinct failure (line and
// description) is reported once; the export stops when one comes back or
// too many cells have failed.
class CellWriter {
public:
    CellWriter(ErrorTrap& trap, WorkbookExportResult& result) : m_trap(trap), m_result(result) {}

    void write(int line, Workbook* book, int row, int column, const QString& value) {
        m_trap.line(line);
        try {
            bool cut = false;
            const QString fitted = fitToCell(value, &cut);
            required(book).ActiveSheet().Cells(row, column).setValue(fitted);
            m_result.cutValues += cut ? 1 : 0;
        } catch (const std::exception& failure) {
            const QString description = failureDescription(failure);
            const bool again = m_reported.contains({line, description});
            if (!again) {
                m_reported.insert({line, description});
                m_trap.report(description);
            }
            if (again || ++m_failures >= kMostFailedCells) {
                m_result.stoppedEarly = true;
                m_result.stopReason = description;
            }
        }
    }

private:
    ErrorTrap& m_trap;
    WorkbookExportResult& m_result;
    QSet<std::pair<int, QString>> m_reported;
    int m_failures = 0;
};

} // namespace

QString fitToCell(const QString& text, bool* cut) {
    if (cut) {
        *cut = text.size() > kCellTextLimit;
    }
    if (text.size() <= kCellTextLimit) {
        return text;
    }
    qsizetype length = kCellTextLimit;
    if (text.at(length - 1).isHighSurrogate()) {
        --length;
    }
    return text.left(length);
}

WorkbookExportResult copyListToWorkbook(ErrorTrap& trap, const ListSnapshot& list,
                                        SpreadsheetAutomation& automation, const ExportPump& pump,
                                        const ExportStop& stop) {
    WorkbookExportResult result;
    CellWriter cells(trap, result);
    std::unique_ptr<SpreadsheetApplication> xl;
    Workbook* book = nullptr;
    // Lets events run once as the numbered step; true when the export is to end here.
    const auto pumpAt = [&](int line) {
        trap.stepInLoop(line, [&] {
            if (pump) {
                pump();
            }
        });
        result.stoppedByCaller = result.stoppedByCaller || (stop && stop());
        return result.ended();
    };

    trap.step(112, [&] { xl = automation.createApplication(); });
    trap.step(114, [&] { book = &required(xl).Workbooks().Add(); });

    // The captions in row 1; list row k in sheet row k + 2.
    for (int k = 0; k < list.columnCount() && !result.ended(); ++k) {
        if (pumpAt(120)) {
            break;
        }
        cells.write(122, book, 1, k + 1, list.captions().at(k));
    }
    for (int k = 0; k < list.rowCount() && !result.ended(); ++k) {
        if (pumpAt(132)) {
            break;
        }
        if (trap.test(134, [&] { return list.isTicked(k); })) {
            for (int m = 0; m < list.columnCount() && !result.ended(); ++m) {
                if (pumpAt(140)) {
                    break;
                }
                if (m == 0) {
                    cells.write(144, book, k + 2, m + 1, list.cell(k, m));
                } else {
                    cells.write(148, book, k + 2, m + 1, withoutEquals(list.cell(k, m)));
                }
            }
        }
    }
    if (result.ended()) {
        return result;
    }

    trap.step(158, [&] { required(book).ActiveSheet().Columns().Autofit(); });
    trap.step(160, [&] { required(xl).setVisible(true); });
    return result;
}
