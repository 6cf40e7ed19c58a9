#include "mainwindow/shelf/wished_movies.h"

#include "core/catalogue/catalogue.h"
#include "core/report/failure.h"
#include "core/shelf/shelf_store.h"
#include "mainwindow/list_view.h"
#include "mainwindow/services.h"
#include "mainwindow/window_context.h"

#include <QPalette>

WishedMovies::WishedMovies(WindowContext& context)
    : WindowFeature(context, QStringLiteral("WishedMovies")) {
    MovieListModel& items = context.list().items();
    connect(&items, &QAbstractItemModel::modelReset, this, &WishedMovies::mark);
    connect(&items, &MovieListModel::extrasReloaded, this, &WishedMovies::mark);
}

void WishedMovies::mark() {
    ListView& list = context().list();
    Catalogue& catalogue = context().services().catalogue;
    QSet<qint64> wished;
    if (catalogue.isOpen() && list.items().totalCount() > 0) {
        try {
            wished = ShelfStore(catalogue).wishedOnly();
        } catch (const Failure&) {
            // Only a colour: the rows are drawn as usual, and the shelf's
            // columns tell of a catalogue that cannot be read.
            wished.clear();
        }
    }
    list.items().setMutedMovies(std::move(wished),
                                list.palette().color(QPalette::Disabled, QPalette::Text));
}
