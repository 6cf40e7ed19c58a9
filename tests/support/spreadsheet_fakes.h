#pragma once

#include "core/spreadsheet/spreadsheet_program.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// A spreadsheet finder that answers from a queue, then with a fixed
// answer, counting how often it is asked.
class FixedSpreadsheetFinder : public SpreadsheetFinder {
public:
    std::optional<SpreadsheetProgram> find() override {
        ++calls;
        return queued.isEmpty() ? program : queued.takeFirst();
    }

    std::optional<SpreadsheetProgram> program =
        SpreadsheetProgram{QStringLiteral("soffice"), {QStringLiteral("-n")}};
    QList<std::optional<SpreadsheetProgram>> queued;
    int calls = 0;
};

// Records every program it is asked to start instead of starting it.
class RecordingDocumentLauncher : public DocumentLauncher {
public:
    struct Start {
        QString program;
        QStringList arguments;
    };

    void start(const QString& program, const QStringList& arguments) override {
        starts.append({program, arguments});
        if (onStart) {
            onStart(program, arguments);
        }
    }

    // The file handed to the last program started ("" when none was).
    QString lastFile() const {
        return starts.isEmpty() ? QString() : starts.last().arguments.last();
    }

    QList<Start> starts;
    // Runs at each start; may throw to play a program that cannot start.
    std::function<void(const QString&, const QStringList&)> onStart;
};
