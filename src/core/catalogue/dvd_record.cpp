#include "core/catalogue/dvd_record.h"

#include <stdexcept>

namespace {

// One lookup for both the const and the changing access.
template <class Record> auto& fieldOf(Record& record, int index) {
    switch (index) {
    case 0:
        return record.title;
    case 1:
        return record.year;
    case 2:
        return record.genre;
    case 3:
        return record.cast;
    case 4:
        return record.director;
    case 5:
        return record.runtime;
    case 6:
        return record.rating;
    case 7:
        return record.studio;
    default:
        throw std::out_of_range("DvdRecord field index");
    }
}

} // namespace

QString& DvdRecord::field(int index) {
    return fieldOf(*this, index);
}

const QString& DvdRecord::field(int index) const {
    return fieldOf(*this, index);
}

bool sameFields(const DvdRecord& a, const DvdRecord& b) {
    for (int i = 0; i < DvdRecord::kFieldCount; ++i) {
        if (a.field(i) != b.field(i)) {
            return false;
        }
    }
    return true;
}

const QString& catalogueColumnName(MovieColumn column) {
    static const QString id = QStringLiteral("id");
    return column == MovieColumn::Id ? id : kDvdColumns.at(std::size_t(fieldIndex(column)));
}
