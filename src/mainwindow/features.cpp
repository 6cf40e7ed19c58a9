#include "mainwindow/features.h"

#include "mainwindow/covers/covers.h"
#include "mainwindow/find/list_finder.h"
#include "mainwindow/import/catalogue_file_commands.h"
#include "mainwindow/loans/loan_columns.h"
#include "mainwindow/loans/loan_commands.h"
#include "mainwindow/lookup/fill_empty_fields.h"
#include "mainwindow/lookup/lookup_column.h"
#include "mainwindow/lookup/movie_lookup.h"
#include "mainwindow/menu/window_menu_bar.h"
#include "mainwindow/shelf/duplicate_question.h"
#include "mainwindow/shelf/shelf_columns.h"
#include "mainwindow/shelf/shelf_commands.h"
#include "mainwindow/shelf/wished_movies.h"
#include "mainwindow/snapshots/snapshot_restore.h"

QList<WindowFeature*> makeFeatures(WindowContext& context) {
    QList<WindowFeature*> features;
    features << new ListFinder(context);
    features << makeCoverFeatures(context);
    features << new CatalogueFileCommands(context);
    features << new SnapshotRestore(context);
    features << new MovieLookup(context);
    features << new FillEmptyFields(context);
    features << new LookupColumn(context);
    features << new ShelfCommands(context);
    features << new ShelfColumns(context);
    features << new WishedMovies(context);
    features << new DuplicateQuestion(context);
    features << new LoanCommands(context);
    features << new LoanColumns(context);
    // Last: the bar gathers the entries of every feature before it.
    features << new WindowMenuBar(context, features);
    return features;
}
