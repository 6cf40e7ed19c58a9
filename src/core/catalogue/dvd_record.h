#pragma once

#include "core/catalogue/movie_column.h"

#include <QByteArrayView>
#include <QString>
#include <array>

// One movie as the program moves it between catalogue, list and editor.
struct DvdRecord {
    static constexpr int kFieldCount = 8;

    QString id; // digits of the row's id; empty for a movie not yet stored
    QString title;
    QString year;
    QString genre;
    QString cast;
    QString director;
    QString runtime;
    QString rating;
    QString studio;

    // The eight data fields in their fixed order (0 = title ... 7 = studio).
    QString& field(int index);
    const QString& field(int index) const;
};

// A movie's eight data fields as UTF-8 bytes held elsewhere, in the fixed
// order, for stores that take them without decoding them first.
using DvdFieldsUtf8 = std::array<QByteArrayView, DvdRecord::kFieldCount>;

// Whether two records hold the same eight fields (their ids are not compared).
bool sameFields(const DvdRecord& a, const DvdRecord& b);

// The catalogue's column names of the eight data fields, in the fixed order.
inline const std::array<QString, DvdRecord::kFieldCount> kDvdColumns = {
    QStringLiteral("title"),  QStringLiteral("year"),     QStringLiteral("genre"),
    QStringLiteral("cast"),   QStringLiteral("director"), QStringLiteral("runtime"),
    QStringLiteral("rating"), QStringLiteral("studio")};

// The catalogue's name of a column ("id", "title", ...): the names live
// here, in the core, and nowhere above it.
const QString& catalogueColumnName(MovieColumn column);
