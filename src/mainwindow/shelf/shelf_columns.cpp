#include "mainwindow/shelf/shelf_columns.h"

#include "core/shelf/shelf_store.h"
#include "mainwindow/list_view.h"
#include "mainwindow/services.h"
#include "mainwindow/window_context.h"

#include <QStringList>
#include <QTimer>

namespace {

const QString kBetween = QStringLiteral(", ");

QHash<qint64, QString> joinedCells(const QHash<qint64, QStringList>& parts) {
    QHash<qint64, QString> cells;
    cells.reserve(parts.size());
    for (auto movie = parts.cbegin(); movie != parts.cend(); ++movie) {
        if (!movie.value().isEmpty()) {
            cells.insert(movie.key(), movie.value().join(kBetween));
        }
    }
    return cells;
}

// Per movie, the different texts its copies give, in the order the copies
// were added, joined; movies without copies are left out.
using CopyText = std::function<QString(const ShelfCopy&)>;
QHash<qint64, QString> perCopy(const std::vector<ShelfCopy>& copies, const CopyText& text) {
    QHash<qint64, QStringList> parts;
    for (const ShelfCopy& copy : copies) {
        const QString part = text(copy).trimmed();
        QStringList& movie = parts[copy.movieId];
        if (!part.isEmpty() && !movie.contains(part, Qt::CaseInsensitive)) {
            movie << part;
        }
    }
    return joinedCells(parts);
}

QHash<qint64, QString> copyCounts(const std::vector<ShelfCopy>& copies) {
    QHash<qint64, int> counts;
    for (const ShelfCopy& copy : copies) {
        ++counts[copy.movieId];
    }
    QHash<qint64, QString> cells;
    cells.reserve(counts.size());
    for (auto movie = counts.cbegin(); movie != counts.cend(); ++movie) {
        cells.insert(movie.key(), QString::number(movie.value()));
    }
    return cells;
}

QHash<qint64, QString> setNames(Catalogue& catalogue) {
    ShelfStore shelf(catalogue);
    QHash<qint64, QStringList> names;
    for (const ShelfSet& set : shelf.sets()) {
        for (const SetMember& member : shelf.members(set.id)) {
            QStringList& movie = names[member.movieId];
            if (!movie.contains(set.name)) {
                movie << set.name;
            }
        }
    }
    return joinedCells(names);
}

} // namespace

ShelfColumns::ShelfColumns(WindowContext& context)
    : WindowFeature(context, QStringLiteral("ShelfColumns")) {
    Catalogue& catalogue = context.services().catalogue;
    const auto add = [this](const char16_t* id, const char16_t* caption,
                            ComputedColumn::Read read) {
        m_columns.push_back(std::make_unique<ComputedColumn>(
            QString::fromUtf16(id), QString::fromUtf16(caption), std::move(read)));
    };
    const auto fromCopies = [this](CopyText text) -> ComputedColumn::Read {
        return [this, text = std::move(text)] { return perCopy(allCopies(), text); };
    };
    add(u"format", u"Formats",
        fromCopies([](const ShelfCopy& copy) { return ShelfNames::name(copy.format); }));
    add(u"location", u"Location", fromCopies([](const ShelfCopy& copy) { return copy.location; }));
    add(u"copies", u"Copies", [this] { return copyCounts(allCopies()); });
    m_columns.back()->setNumeric(QStringLiteral("0")); // `copies:0`: the movies without
    add(u"status", u"Status",
        fromCopies([](const ShelfCopy& copy) { return ShelfNames::name(copy.status); }));
    add(u"barcode", u"Barcodes", fromCopies([](const ShelfCopy& copy) { return copy.barcode; }));
    add(u"set", u"Sets", [&catalogue] { return setNames(catalogue); });
    // A new fill reads the copies as they are now.
    connect(&context.list().items(), &QAbstractItemModel::modelAboutToBeReset, this,
            [this] { m_copies.reset(); });
    for (const auto& column : m_columns) {
        context.addColumn(*column);
    }
}

ShelfColumns::~ShelfColumns() = default;

const std::vector<ShelfCopy>& ShelfColumns::allCopies() {
    if (!m_copies) {
        m_copies = std::make_unique<std::vector<ShelfCopy>>(
            ShelfStore(context().services().catalogue).allCopies());
        // The columns of one fill or reload are read one after the other
        // without the events running between them; a later read is fresh.
        QTimer::singleShot(0, this, [this] { m_copies.reset(); });
    }
    return *m_copies;
}
