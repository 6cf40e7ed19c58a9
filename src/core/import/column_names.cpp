#include "core/import/column_names.h"

#include "core/catalogue/dvd_record.h"

#include <array>

namespace {

// The most names a field has; a shorter list ends in null pointers.
constexpr std::size_t kMostNames = 9;

struct FieldNames {
    int field = 0;
    std::array<const char16_t*, kMostNames> names{}; // the best first
};

// Every header text the import recognises. The catalogue's own name comes
// first, then the list's caption, then other programs' and languages' names;
// when two columns name one field, the one earlier here wins.
const std::array<FieldNames, kColumnFieldCount> kNames = {{
    {0, {u"title", u"name", u"film", u"movie", u"titel", u"título", u"titre", u"titolo"}},
    {1,
     {u"year", u"released", u"release year", u"year released", u"jahr", u"année", u"año", u"anno"}},
    {2, {u"genre", u"genres", u"genre(s)", u"kategorie"}},
    {3, {u"cast", u"actors", u"stars", u"starring", u"darsteller", u"acteurs", u"reparto"}},
    {4,
     {u"director", u"directors", u"directed by", u"regie", u"réalisateur", u"director(es)",
      u"regia"}},
    {5,
     {u"runtime", u"running time", u"runtime (mins)", u"length", u"duration", u"laufzeit", u"durée",
      u"duración", u"durata"}},
    {6, {u"rating", u"mpaa rating", u"certificate", u"rated", u"fsk", u"age rating", u"mpaa"}},
    {7, {u"studio", u"production company", u"distributor", u"studio(s)", u"label"}},
    {kCopyFormat, {u"format"}},
    {kCopyEdition, {u"edition"}},
    {kCopyBarcode, {u"barcode"}},
    {kCopyDiscs, {u"discs"}},
    {kCopyLocation, {u"location"}},
    {kCopyAcquired, {u"acquired"}},
    {kCopyPrice, {u"price"}},
    {kCopyCurrency, {u"currency"}},
    {kCopyCondition, {u"condition"}},
    {kCopyStatus, {u"status"}},
    {kCopyNote, {u"note"}},
}};

// The copy's fields by their own names, in the order of CopyField.
const std::array<QString, kCopyFieldCount> kCopyNames = {
    QStringLiteral("format"), QStringLiteral("edition"),  QStringLiteral("barcode"),
    QStringLiteral("discs"),  QStringLiteral("location"), QStringLiteral("acquired"),
    QStringLiteral("price"),  QStringLiteral("currency"), QStringLiteral("condition"),
    QStringLiteral("status"), QStringLiteral("note")};

const QString kIdName = QStringLiteral("id");
const QString kIgnoreName = QStringLiteral("ignore");

} // namespace

QString normalisedColumnName(const QString& text) {
    return text.simplified().toCaseFolded();
}

HeaderMatch matchHeader(const QString& text) {
    const QString name = normalisedColumnName(text);
    if (name == kIdName) {
        return {HeaderMatch::kId, 0};
    }
    for (const FieldNames& field : kNames) {
        int rank = 0;
        for (const char16_t* known : field.names) {
            if (known != nullptr && name == QStringView(known)) {
                return {field.field, rank};
            }
            ++rank;
        }
    }
    return {};
}

bool isKnownColumnName(const QString& text) {
    return matchHeader(text).field != HeaderMatch::kNone;
}

std::optional<int> fieldByName(const QString& name) {
    const QString wanted = normalisedColumnName(name);
    if (wanted == kIgnoreName) {
        return HeaderMatch::kNone;
    }
    for (int field = 0; field < kColumnFieldCount; ++field) {
        if (wanted == fieldName(field)) {
            return field;
        }
    }
    return std::nullopt;
}

QString fieldName(int field) {
    if (field >= 0 && field < DvdRecord::kFieldCount) {
        return kDvdColumns[std::size_t(field)];
    }
    if (field >= kFirstCopyField && field < kColumnFieldCount) {
        return kCopyNames[std::size_t(field - kFirstCopyField)];
    }
    return kIgnoreName;
}

QStringList fieldNames() {
    QStringList names;
    for (int field = 0; field < kColumnFieldCount; ++field) {
        names << fieldName(field);
    }
    return names;
}

QStringList recognisedHeaderLines() {
    QStringList lines;
    for (const FieldNames& field : kNames) {
        QStringList names;
        for (const char16_t* known : field.names) {
            if (known != nullptr) {
                names << QString::fromUtf16(known);
            }
        }
        lines << QStringLiteral("%1  %2")
                     .arg(fieldName(field.field), -8)
                     .arg(names.join(QStringLiteral(", ")));
    }
    return lines;
}
