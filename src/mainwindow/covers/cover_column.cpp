#include "mainwindow/covers/cover_column.h"

#include "core/covers/cover_store.h"
#include "mainwindow/window_context.h"

namespace {
const QString kId = QStringLiteral("cover");
const QString kCaption = QStringLiteral("Cover");
const QString kHasCover = QStringLiteral("yes");
const QString kNoCover = QStringLiteral("no");
} // namespace

CoverColumn::CoverColumn(WindowContext& context)
    : WindowFeature(context, QStringLiteral("CoverColumn")) {
    context.addColumn(*this);
}

QString CoverColumn::id() const {
    return kId;
}

QString CoverColumn::caption() const {
    return kCaption;
}

QString CoverColumn::emptyWord() const {
    return kNoCover;
}

QHash<qint64, QString> CoverColumn::cells() {
    QHash<qint64, QString> cells;
    const QSet<qint64> ids = CoverStore(context().services().catalogue).ids();
    cells.reserve(ids.size());
    for (const qint64 id : ids) {
        cells.insert(id, kHasCover);
    }
    return cells;
}
