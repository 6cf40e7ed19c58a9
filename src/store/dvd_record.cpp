#include "store/dvd_record.h"

#include <stdexcept>

QString& DvdRecord::field(int index) {
    return const_cast<QString&>(static_cast<const DvdRecord*>(this)->field(index));
}

const QString& DvdRecord::field(int index) const {
    switch (index) {
    case 0:
        return title;
    case 1:
        return year;
    case 2:
        return genre;
    case 3:
        return cast;
    case 4:
        return director;
    case 5:
        return runtime;
    case 6:
        return rating;
    case 7:
        return studio;
    default:
        throw std::out_of_range("DvdRecord field index");
    }
}
