#include "core/report/error_trap.h"

#include "core/report/message_boxes.h"

QString errorReportText(const QString& description, const QString& location, int step) {
    return description + QStringLiteral("\r\n") + QStringLiteral("in ") +
           QLatin1String(kProjectTag) + QLatin1Char('.') + location + QLatin1Char(' ') +
           QStringLiteral("at line ") + QString::number(step) + QStringLiteral("\r\r") +
           QStringLiteral("Please email screenshot of this message to ") +
           QLatin1String(kSupportAddress);
}

ErrorTrap::ErrorTrap(MessageBoxes& boxes, QString location)
    : m_boxes(boxes), m_location(std::move(location)) {}

QString failureDescription(const std::exception& failure) {
    if (const auto* own = dynamic_cast<const Failure*>(&failure)) {
        return own->description();
    }
    return QString::fromUtf8(failure.what());
}

void ErrorTrap::report(const std::exception& failure) {
    report(failureDescription(failure));
}

void ErrorTrap::report(const QString& description) {
    ++m_reports;
    m_boxes.warn(errorReportText(description, m_location, m_step),
                 QLatin1String(kErrorReportTitle));
}
