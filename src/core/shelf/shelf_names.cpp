#include "core/shelf/shelf_names.h"

#include <array>

namespace {

// Plain constants, so that options built before main() can name them.
constexpr std::array<const char*, 7> kFormats = {"DVD",       "Blu-ray", "4K UHD", "VHS",
                                                 "LaserDisc", "digital", "other"};
constexpr std::array<const char*, 3> kStatuses = {"owned", "ordered", "wished"};
constexpr std::array<const char*, 2> kSetKinds = {"box set", "series"};

template <class Value, std::size_t N>
std::optional<Value> lookUp(const std::array<const char*, N>& names, const QString& name) {
    const QString wanted = name.trimmed();
    for (std::size_t i = 0; i < N; ++i) {
        if (wanted.compare(QLatin1String(names.at(i)), Qt::CaseInsensitive) == 0) {
            return static_cast<Value>(i);
        }
    }
    return std::nullopt;
}

template <std::size_t N> QStringList all(const std::array<const char*, N>& names) {
    QStringList all;
    for (const char* name : names) {
        all << QLatin1String(name);
    }
    return all;
}

} // namespace

namespace ShelfNames {

QString name(CopyFormat format) {
    return QLatin1String(kFormats.at(static_cast<std::size_t>(format)));
}

QString name(CopyStatus status) {
    return QLatin1String(kStatuses.at(static_cast<std::size_t>(status)));
}

QString name(SetKind kind) {
    return QLatin1String(kSetKinds.at(static_cast<std::size_t>(kind)));
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
