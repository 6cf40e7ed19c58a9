#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The words a copy and a set are described with, as the catalogue stores
// them and every list writes them. On input they match without regard to case.
enum class CopyFormat { Dvd, BluRay, Uhd4k, Vhs, LaserDisc, Digital, Other };
enum class CopyStatus { Owned, Ordered, Wished };
enum class SetKind { BoxSet, Series };

namespace ShelfNames {

QString name(CopyFormat format);
QString name(CopyStatus status);
QString name(SetKind kind);

// Every name of its kind, in the order above.
QStringList formatNames();
QStringList statusNames();

// The value the name stands for; none for a name that is not one of them.
std::optional<CopyFormat> format(const QString& name);
std::optional<CopyStatus> status(const QString& name);
std::optional<SetKind> setKind(const QString& name);

} // namespace ShelfNames
