#include "core/snapshots/snapshot_name.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

constexpr SnapshotReason kReasons[] = {SnapshotReason::Clear, SnapshotReason::Import,
                                       SnapshotReason::Restore, SnapshotReason::Daily};

const QString kDateFormat = QStringLiteral("yyyyMMdd-HHmmss");

} // namespace

QString reasonWord(SnapshotReason reason) {
    switch (reason) {
    case SnapshotReason::Manual:
        return {};
    case SnapshotReason::Clear:
        return QStringLiteral("clear");
    case SnapshotReason::Import:
        return QStringLiteral("import");
    case SnapshotReason::Restore:
        return QStringLiteral("restore");
    case SnapshotReason::Daily:
        return QStringLiteral("daily");
    }
    return {};
}

QString snapshotStem(const QString& catalogueFile) {
    const QFileInfo file(catalogueFile);
    const QString stem = file.completeBaseName();
    return stem.isEmpty() ? file.fileName() : stem;
}

QString SnapshotName::fileName() const {
    QString name = stem + QLatin1Char('-') + taken.toString(kDateFormat);
    if (sequence > 1) {
        name += QStringLiteral("_%1").arg(sequence, 2, 10, QLatin1Char('0'));
    }
    if (reason != SnapshotReason::Manual) {
        name += QLatin1Char('-') + reasonWord(reason);
    }
    return name + QStringLiteral(".mdb");
}

std::optional<SnapshotName> SnapshotName::parse(const QString& fileName, const QString& stem) {
    // The rest after "<stem>-" is matched whole: it holds one date only,
    // so no catalogue's snapshot reads as another catalogue's.
    static const QRegularExpression pattern(
        QStringLiteral(R"(^(\d{8}-\d{6})(?:_(\d{2,4}))?(?:-(clear|import|restore|daily))?\.mdb$)"));
    const QString prefix = stem + QLatin1Char('-');
    if (stem.isEmpty() || !fileName.startsWith(prefix)) {
        return std::nullopt;
    }
    const QRegularExpressionMatch match = pattern.match(fileName.mid(prefix.size()));
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    SnapshotName name;
    name.stem = stem;
    name.taken = QDateTime::fromString(match.captured(1), kDateFormat);
    if (!name.taken.isValid()) {
        return std::nullopt;
    }
    if (match.hasCaptured(2)) {
        name.sequence = match.captured(2).toInt();
    }
    for (SnapshotReason reason : kReasons) {
        if (match.captured(3) == reasonWord(reason)) {
            name.reason = reason;
        }
    }
    // Only the one spelling the program writes ("_01", "_002" are not its own).
    if (name.fileName() != fileName) {
        return std::nullopt;
    }
    return name;
}

bool SnapshotName::newerFirst(const SnapshotName& a, const SnapshotName& b) {
    if (a.taken != b.taken) {
        return a.taken > b.taken;
    }
    return a.sequence > b.sequence;
}
