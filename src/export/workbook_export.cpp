#include "export/workbook_export.h"

#include "desktop/error_trap.h"
#include "export/list_snapshot.h"
#include "platform/spreadsheet_automation.h"

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

// Writes cells through the trap, reporting the first failure and ending the
// export at the second.
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
            if (m_failedOnce) {
                m_result.stoppedOnRepeatedFailure = true;
            } else {
                m_failedOnce = true;
                m_trap.report(failure);
            }
        }
    }

    bool stopped() const { return m_result.stoppedOnRepeatedFailure; }

private:
    ErrorTrap& m_trap;
    WorkbookExportResult& m_result;
    bool m_failedOnce = false;
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
                                        SpreadsheetAutomation& automation, const ExportPump& pump) {
    WorkbookExportResult result;
    CellWriter cells(trap, result);
    std::unique_ptr<SpreadsheetApplication> xl;
    Workbook* book = nullptr;
    const auto pumpOnce = [&] {
        if (pump) {
            pump();
        }
    };

    trap.step(112, [&] { xl = automation.CreateObject(); });
    trap.step(114, [&] { book = &required(xl).Workbooks().Add(); });

    // The captions in row 1; list row k in sheet row k + 2.
    for (int k = 0; k < list.columnCount() && !cells.stopped(); ++k) {
        trap.stepInLoop(120, pumpOnce);
        cells.write(122, book, 1, k + 1, list.captions().at(k));
    }
    for (int k = 0; k < list.rowCount() && !cells.stopped(); ++k) {
        trap.stepInLoop(132, pumpOnce);
        if (trap.test(134, [&] { return list.isTicked(k); })) {
            for (int m = 0; m < list.columnCount() && !cells.stopped(); ++m) {
                trap.stepInLoop(140, pumpOnce);
                if (m == 0) {
                    cells.write(144, book, k + 2, m + 1, list.cell(k, m));
                } else {
                    cells.write(148, book, k + 2, m + 1, withoutEquals(list.cell(k, m)));
                }
            }
        }
    }
    if (cells.stopped()) {
        return result;
    }

    trap.step(158, [&] { required(book).ActiveSheet().Columns().Autofit(); });
    trap.step(160, [&] { required(xl).setVisible(true); });
    return result;
}
