#pragma once

#include <QString>
#include <stdexcept>

// A run-time failure with the description the error report shows. Every
// adapter in this folder throws it; guarded procedures catch it through
// their ErrorTrap and carry on.
class Failure : public std::runtime_error {
public:
    explicit Failure(const QString& description)
        : std::runtime_error(description.toStdString()), m_description(description) {}

    const QString& description() const { return m_description; }

private:
    QString m_description;
};
