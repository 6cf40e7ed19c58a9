#pragma once

#include "core/report/failure.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <memory>
#include <optional>

struct zip;

// Why a zip container or one of its parts could not be opened.
enum class ZipProblem {
    CannotRead,   // the file is missing or cannot be opened or read
    CannotSeek,   // the file cannot be read where its table of contents says
    NotAZip,      // no table of contents: not a zip container
    Inconsistent, // the table of contents contradicts itself or the file
    Damaged,      // anything else: a part that cannot be opened, no memory ...
};

// A failure of the zip library; its description is the library's own reason.
// The formats that live in zip containers word it for the person reading it.
class ZipFailure : public Failure {
public:
    ZipFailure(ZipProblem problem, const QString& reason) : Failure(reason), m_problem(problem) {}

    ZipProblem problem() const { return m_problem; }

private:
    ZipProblem m_problem;
};

// What may still be unpacked from an archive, over all its parts.
struct UnpackBudget {
    qint64 left = 0;
};

// A zip container opened for reading with libzip; its parts are read as
// streams, never unpacked whole.
class ZipArchive {
public:
    // Whether opening checks the table of contents against the file.
    enum class Consistency { Trusted, Checked };

    // Fail (ZipFailure) when the file is not a zip container or is damaged.
    static std::unique_ptr<ZipArchive> openFile(const QString& path,
                                                Consistency consistency = Consistency::Trusted);
    static std::unique_ptr<ZipArchive> openBytes(QByteArray bytes);
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    // Part names are matched without regard to case, as some writers differ.
    bool contains(const QString& name) const;
    // The unpacked size the container records for the part, -1 when unknown.
    qint64 recordedSize(const QString& name) const;

    // How many parts the table of contents lists; 0 or less when none.
    qint64 partCount() const;
    // The name of the part at an index (0-based); none when the table of
    // contents gives none.
    std::optional<QString> partName(qint64 index) const;

    // A stream of the part's unpacked bytes, open for reading. It ends in an
    // error once more than `partCap` bytes or more than the budget has come
    // out (then partCapHit() on the returned device is true), or once the
    // bytes do not match the part's recorded size or checksum. Fails
    // (ZipFailure, Damaged) when the part is missing or cannot be opened.
    std::unique_ptr<QIODevice> openPart(const QString& name, UnpackBudget& budget, qint64 partCap);
    // The same for the part at an index.
    std::unique_ptr<QIODevice> openPartAt(qint64 index, UnpackBudget& budget, qint64 partCap);

private:
    ZipArchive(zip* archive, QByteArray bytes);

    zip* m_archive;
    QByteArray m_bytes; // the container's bytes when opened from memory
};

// True when a part stream came to an end because it reached its cap.
bool partCapHit(const QIODevice& part);
// True when a part stream ended in an error because its bytes did not match
// their checksum.
bool partChecksumFailed(const QIODevice& part);
// The part stream's unpacked bytes so far.
qint64 partBytesRead(const QIODevice& part);
