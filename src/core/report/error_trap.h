#pragma once

#include "core/report/failure.h"

#include <QSet>
#include <QString>
#include <exception>

class MessageBoxes;

// The maker's support address that ends every error report.
inline constexpr char kSupportAddress[] = "support@tarnwick.example";
// The project tag that starts every location text.
inline constexpr char kProjectTag[] = "Reelkeeper2021/08/31";
inline constexpr char kErrorReportTitle[] = "Application Error";

// The report for a failure of step `step` in `location` ("Form1.Form_Load").
QString errorReportText(const QString& description, const QString& location, int step);

// The description a report shows for a failure.
QString failureDescription(const std::exception& failure);

// The one failure path of every guarded procedure. Each numbered step runs
// through the trap; a failing step shows the error report with the step's
// number and the procedure carries on with its next step. The trap stays
// armed for the whole run.
class ErrorTrap {
public:
    ErrorTrap(MessageBoxes& boxes, QString location);

    // Runs one numbered step.
    template <class F> void step(int number, F&& body) {
        m_step = number;
        try {
            body();
        } catch (const std::exception& failure) {
            report(failure);
        }
    }

    // A numbered condition. A failing condition counts as true, so the
    // procedure goes on into the block it guards.
    template <class F> bool test(int number, F&& condition) {
        m_step = number;
        try {
            return condition();
        } catch (const std::exception& failure) {
            report(failure);
            return true;
        }
    }

    // A step inside a loop over rows or cells: a failure that repeats on
    // every pass is shown once for the step in this run, not once per pass.
    template <class F> void stepInLoop(int number, F&& body) {
        m_step = number;
        try {
            body();
        } catch (const std::exception& failure) {
            if (!m_reportedInLoop.contains(number)) {
                m_reportedInLoop.insert(number);
                report(failure);
            }
        }
    }

    // Makes `number` the step that a following report() names, for a step
    // that handles its own failures.
    void line(int number) { m_step = number; }

    int currentStep() const { return m_step; }
    int reportCount() const { return m_reports; }
    // True when the step has failed inside a loop in this run.
    bool failedInLoop(int number) const { return m_reportedInLoop.contains(number); }

    // Shows the report for the current step.
    void report(const std::exception& failure);
    void report(const QString& description);

private:
    MessageBoxes& m_boxes;
    QString m_location;
    int m_step = 0;
    int m_reports = 0;
    QSet<int> m_reportedInLoop;
};
