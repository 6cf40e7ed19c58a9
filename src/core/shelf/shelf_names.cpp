#include "core/shelf/shelf_names.h"

#include <array>

namespace {

const std::array<QString, 7> kFormats = {QStringLiteral("DVD"),       QStringLiteral("Blu-ray"),
                                         QStringLiteral("4K UHD"),    QStringLiteral("VHS"),
                                         QStringLiteral("LaserDisc"), QStringLiteral("digital"),
                                         QStringLiteral("other")};
const std::array<QString, 3> kStatuses = {QStringLiteral("owned"), QStringLiteral("ordered"),
                                          QStringLiteral("wished")};
const std::array<QString, 2> kSetKinds = {QStringLiteral("box set"), QStringLiteral("series")};

template <class Value, std::size_t N>
std::optional<Value> lookUp(const std::array<QString, N>& names, const QString& name) {
    const QString wanted = name.trimmed();
    for (std::size_t i = 0; i < N; ++i) {
        if (names.at(i).compare(wanted, Qt::CaseInsensitive) == 0) {
            return static_cast<Value>(i);
        }
    }
    return std::nullopt;
}

template <std::size_t N> QStringList all(const std::array<QString, N>& names) {
    return QStringList(names.begin(), names.end());
}

} // namespace

namespace ShelfNames {

QString name(CopyFormat format) {
    return kFormats.at(static_cast<std::size_t>(format));
}

QString name(CopyStatus status) {
    return kStatuses.at(static_cast<std::size_t>(status));
}

QString name(SetKind kind) {
    return kSetKinds.at(static_cast<std::size_t>(kind));
}

QStringList formatNames() {
    return all(kFormats);
}

QStringList statusNames() {
    return all(kStatuses);
}

std::optional<CopyFormat> format(const QString& name) {
    return lookUp<CopyFormat>(kFormats, name);
}

std::optional<CopyStatus> status(const QString& name) {
    return lookUp<CopyStatus>(kStatuses, name);
}

std::optional<SetKind> setKind(const QString& name) {
    return lookUp<SetKind>(kSetKinds, name);
}

} // namespace ShelfNames
