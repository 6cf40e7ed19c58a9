#pragma once

#include "editor/form2.h"
#include "mainwindow/list_view.h"
#include "support/form1_harness.h"
#include "support/modal.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

// A main window started over a catalogue a test has prepared (or spoiled),
// with helpers to try a save through the real editor.
class FaultTest : public ::testing::Test {
protected:
    // Writes a sound catalogue with `count` movies at the installed place.
    void writeCatalogue(int count) {
        h.dirs.createInstalledCatalogue();
        QString sql = QStringLiteral("begin;");
        for (int i = 0; i < count; ++i) {
            sql += QStringLiteral("insert into dvd (title, year, cast) values "
                                  "('Movie %1', '19%2', '%3');")
                       .arg(i)
                       .arg(i % 100, 2, 10, QLatin1Char('0'))
                       .arg(QString(200, QChar(u'a' + i % 26)));
        }
        TempCatalogue::exec(h.catalogue(), sql + QStringLiteral("commit;"));
    }
    Form1& start() {
        h.form->Form_Load();
        h.form->show();
        return *h.form;
    }
    Form2& editor() { return h.form->form2(); }
    QLineEdit& box(int n) {
        return *editor().findChild<QLineEdit*>(QStringLiteral("Text%1").arg(n));
    }
    // Adds a movie through "Add New Movie" and the editor's Save; returns
    // whether the editor was still open, with the typing, after Save.
    bool addThroughEditor(const QStringList& fields) {
        bool keptOpen = false;
        whileModal(editor(), [&] {
            for (int i = 0; i < fields.size(); ++i) {
                box(i + 1).setText(fields.at(i));
            }
            QTest::mouseClick(editor().findChild<QPushButton*>(QStringLiteral("PushButton1")),
                              Qt::LeftButton);
            keptOpen = editor().isVisible() && box(1).text() == fields.value(0);
        });
        QTest::mouseClick(h.form->findChild<QPushButton*>(QStringLiteral("PushButton4")),
                          Qt::LeftButton);
        return keptOpen;
    }
    int reportCount() const { return int(h.boxes.errorReports().size()); }
    QByteArray catalogueBytes() const { return TempCatalogue::fileBytes(h.catalogue()); }

    Form1Harness h;
};
