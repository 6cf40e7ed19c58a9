#pragma once

#include "support/main_window_driver.h"
#include "support/modal.h"

#include <QFile>

// A main window started over a catalogue a test has prepared (or spoiled),
// with helpers to try a save through the real editor.
class FaultTest : public ::testing::Test {
protected:
    // Writes a sound catalogue with `count` movies at the installed place.
    void writeCatalogue(int count) {
        h.dirs.createInstalledCatalogue();
        QList<QStringList> movies;
        for (int i = 0; i < count; ++i) {
            movies.append({QStringLiteral("Movie %1").arg(i),
                           QStringLiteral("19%1").arg(i % 100, 2, 10, QLatin1Char('0')),
                           {},
                           QString(200, QChar(u'a' + i % 26))});
        }
        TempCatalogue::addMovies(h.catalogue(), movies);
    }
    // Adds a movie through "Add New Movie" and the editor's Save; returns
    // whether the editor was still open, with the typing, after Save.
    bool addThroughEditor(const QStringList& fields) {
        bool keptOpen = false;
        whileModal(h.editor(), [&] {
            for (int i = 0; i < fields.size(); ++i) {
                h.box(i + 1).setText(fields.at(i));
            }
            h.clickSave();
            keptOpen = h.editor().isVisible() && h.box(1).text() == fields.value(0);
        });
        h.click(Button::AddNewMovie);
        return keptOpen;
    }
    int reportCount() const { return int(h.boxes.errorReports().size()); }
    QByteArray catalogueBytes() const { return TempCatalogue::fileBytes(h.catalogue()); }

    MainWindowDriver h;
};
