#include "core/snapshots/snapshot_name.h"

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

QString SnapshotName::fileName() const {
    QString name = QStringLiteral("dbDVD-") + taken.toString(kDateFormat);
    if (sequence > 1) {
        name += QStringLiteral("_%1").arg(sequence, 2, 10, QLatin1Char('0'));
    }
    if (reason != SnapshotReason::Manual) {
        name += QLatin1Char('-') + reasonWord(reason);
    }
    return name + QStringLiteral(".mdb");
}

std::optional<SnapshotName> SnapshotName::parse(const QString& fileName) {
    static const QRegularExpression pattern(QStringLiteral(
        R"(^dbDVD-(\d{8}-\d{6})(?:_(\d{2,4}))?(?:-(clear|import|restore|daily))?\.mdb$)"));
    const QRegularExpressionMatch match = pattern.match(fileName);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    SnapshotName name;
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
