#pragma once

#include <QString>

// The caps that keep a damaged or hostile file from taking the machine's
// memory or time. Every cap that is hit ends the import with a message that
// names it; tests shrink them.
struct ImportLimits {
    // The largest file read at all (a text file or a workbook's container).
    qint64 fileBytes = qint64(256) << 20;
    // The most columns a row may have.
    int columns = 1024;
    // The longest single value, in bytes of the file.
    qint64 valueBytes = qint64(16) << 20;
    // The most bytes unpacked from a workbook's parts, all parts together.
    qint64 unpackedBytes = qint64(1) << 30;
    // The most bytes of the workbook's table of shared texts, which is held
    // in memory while the sheet is read.
    qint64 sharedTextBytes = qint64(256) << 20;
    // The most cells a sheet may have.
    qint64 cells = 10'000'000;
    // The most rows (lines of a text file, rows of a sheet) a file may have,
    // blank ones included.
    qint64 rows = 10'000'000;
    // The deepest nesting of elements in a workbook's XML; real workbooks
    // nest about ten deep. (Any run of text or piece of markup in it is
    // bounded by valueBytes.)
    int xmlDepth = 256;
};

// "1.5 GB", "256 MB", "900 bytes": a size as a person reads it.
inline QString sizeText(qint64 bytes) {
    constexpr qint64 kMb = qint64(1) << 20;
    if (bytes >= (kMb << 10)) {
        return QStringLiteral("%1 GB").arg(double(bytes) / double(kMb << 10), 0, 'f', 1);
    }
    if (bytes >= kMb) {
        return QStringLiteral("%1 MB").arg((bytes + kMb / 2) / kMb);
    }
    return QStringLiteral("%1 bytes").arg(bytes);
}
