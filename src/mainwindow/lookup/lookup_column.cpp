#include "mainwindow/lookup/lookup_column.h"

#include "core/lookup/lookup_links.h"
#include "mainwindow/window_context.h"

namespace {
const QString kId = QStringLiteral("lookup");
const QString kCaption = QStringLiteral("Looked up in");
const QString kBetweenSources = QStringLiteral(", ");
} // namespace

LookupColumn::LookupColumn(WindowContext& context)
    : WindowFeature(context, QStringLiteral("LookupColumn")) {
    context.addColumn(*this);
}

QString LookupColumn::id() const {
    return kId;
}

QString LookupColumn::caption() const {
    return kCaption;
}

QHash<qint64, QString> LookupColumn::cells() {
    const QHash<qint64, QStringList> sources =
        LookupLinks(context().services().catalogue).sourcesByMovie();
    QHash<qint64, QString> cells;
    cells.reserve(sources.size());
    for (auto movie = sources.cbegin(); movie != sources.cend(); ++movie) {
        cells.insert(movie.key(), movie.value().join(kBetweenSources));
    }
    return cells;
}
