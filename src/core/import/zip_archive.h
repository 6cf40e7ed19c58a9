#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <memory>

struct zip;

// What may still be unpacked from an archive, over all its parts.
struct UnpackBudget {
    qint64 left = 0;
};

// A zip container opened for reading with libzip; its parts are read as
// streams, never unpacked whole.
class ZipArchive {
public:
    // Fails (ImportFailure) when the file is not a zip container or is damaged.
    static std::unique_ptr<ZipArchive> openFile(const QString& path);
    static std::unique_ptr<ZipArchive> openBytes(QByteArray bytes);
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    // Part names are matched without regard to case, as some writers differ.
    bool contains(const QString& name) const;
    // The unpacked size the container records for the part, -1 when unknown.
    qint64 recordedSize(const QString& name) const;

    // A stream of the part's unpacked bytes, open for reading. It ends in an
    // error once more than `partCap` bytes or more than the budget has come
    // out (then capHit() on the returned device is true). Fails when the
    // part is missing or cannot be opened.
    std::unique_ptr<QIODevice> openPart(const QString& name, UnpackBudget& budget, qint64 partCap);

private:
    ZipArchive(zip* archive, QByteArray bytes);

    zip* m_archive;
    QByteArray m_bytes; // the container's bytes when opened from memory
};

// True when a part stream came to an end because it reached its cap.
bool partCapHit(const QIODevice& part);
// The part stream's unpacked bytes so far.
qint64 partBytesRead(const QIODevice& part);
