#include "mainwindow/features.h"

#include "mainwindow/covers/covers.h"
#include "mainwindow/find/list_finder.h"
#include "mainwindow/import/catalogue_file_commands.h"
#include "mainwindow/lookup/fill_empty_fields.h"
#include "mainwindow/menu/window_menu_bar.h"
#include "mainwindow/shelf/shelf_commands.h"
#include "mainwindow/snapshots/snapshot_restore.h"

QList<WindowFeature*> makeFeatures(WindowContext& context) {
    QList<WindowFeature*> features;
    features << new ListFinder(context);
    features << makeCoverFeatures(context);
    features << new CatalogueFileCommands(context);
    features << new SnapshotRestore(context);
    features << new FillEmptyFields(context);
    features << new ShelfCommands(context);
    // Last: the bar gathers the entries of every feature before it.
    features << new WindowMenuBar(context, features);
    return features;
}
