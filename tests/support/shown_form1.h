#pragma once

#include "mainwindow/list_dvd.h"
#include "mainwindow/list_view.h"
#include "support/form1_harness.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <string>

// A loaded main window, shown and active, with the list filled from rows
// put straight into the catalogue.
struct ShownForm1 : Form1Harness {
    explicit ShownForm1(const QStringList& titles = {}) {
        Form1& f = loaded();
        for (const QString& title : titles) {
            TempCatalogue::exec(catalogue(),
                                QStringLiteral("insert into dvd (title, year, genre) values ('%1', "
                                               "'1999', 'Drama')")
                                    .arg(title));
        }
        listDVD(f.ListView1(), movies, f.pointer(), boxes);
        f.show();
        QApplication::setActiveWindow(&f);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&f));
    }
    ListView& list() { return form->ListView1(); }
    std::string selectedTitle() {
        const QModelIndexList rows = list().selectionModel()->selectedRows();
        return rows.isEmpty() ? std::string() : list().items().cell(rows[0].row(), 1).toStdString();
    }
};
