#include "desktop/program_icon.h"

#include <QDirIterator>

QIcon programIcon() {
    // Every size painted at build time, built in as resources.
    QIcon icon;
    QDirIterator sizes(QStringLiteral(":/icons/hicolor"), {QStringLiteral("reelkeeper.png")},
                       QDir::Files, QDirIterator::Subdirectories);
    while (sizes.hasNext()) {
        icon.addFile(sizes.next());
    }
    return icon;
}
