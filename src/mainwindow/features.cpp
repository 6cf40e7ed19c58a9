#include "mainwindow/features.h"

#include "mainwindow/covers/covers.h"
#include "mainwindow/find/list_finder.h"
#include "mainwindow/import/catalogue_file_commands.h"
#include "mainwindow/snapshots/snapshot_restore.h"

QList<WindowFeature*> makeFeatures(WindowContext& context) {
    QList<WindowFeature*> features;
    features << new ListFinder(context);
    features << makeCoverFeatures(context);
    features << new SnapshotRestore(context);
    features << new CatalogueFileCommands(context);
    return features;
}
