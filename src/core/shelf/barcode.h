#pragma once

#include <QString>
#include <QStringList>

// The barcodes printed on discs and boxes: EAN-13, UPC-A and EAN-8, each
// all digits with the last one a check digit. A barcode is kept exactly as
// given, leading zeros and all.
namespace Barcode {

// Why the text is not a barcode (wrong length, a character that is no
// digit, a wrong check digit), as a sentence; empty for a valid barcode.
QString problem(const QString& code);
inline bool isValid(const QString& code) {
    return problem(code).isEmpty();
}

// The ways a valid barcode may be written for the same product: itself
// and, for a UPC-A, the EAN-13 with a leading zero (and the other way).
QStringList spellings(const QString& code);

} // namespace Barcode
