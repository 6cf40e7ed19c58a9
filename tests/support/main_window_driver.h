#pragma once

#include "core/catalogue/movie_column.h"
#include "editor/form2.h"
#include "mainwindow/list_dvd.h"
#include "mainwindow/list_view.h"
#include "support/form1_harness.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <string>

// The main window driven as a person drives it: buttons by what they do,
// column headers, rows by their title, and the cells the list shows.
struct MainWindowDriver : Form1Harness {
    ListView& list() { return form->ListView1(); }

    // Runs the start-up over the catalogue as the test left it, then shows the window.
    Form1& start() {
        form->Form_Load();
        form->show();
        return *form;
    }
    // The same over a new installed catalogue holding these titles.
    Form1& start(const QStringList& titles) {
        dirs.createInstalledCatalogue();
        TempCatalogue::addTitles(catalogue(), titles);
        return start();
    }
    // Runs the start-up, without showing the window, over a new installed
    // catalogue holding these movies (fields as TempCatalogue::addMovies takes them).
    Form1& load(const QList<QStringList>& movies) {
        dirs.createInstalledCatalogue();
        TempCatalogue::addMovies(catalogue(), movies);
        form->Form_Load();
        return *form;
    }
    // Shows the window and makes it the active one.
    void showActive() {
        form->show();
        QApplication::setActiveWindow(form.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    void click(Button button) { QTest::mouseClick(&form->PushButton(button), Qt::LeftButton); }
    // The window's header-click handler, as the list calls it (headers count from 1).
    void columnClick(MovieColumn column) { form->ListView1_ColumnClick(columnIndex(column) + 1); }
    // A mouse click on a column's header.
    void clickHeader(MovieColumn column) {
        QHeaderView* header = list().header();
        const int section = columnIndex(column);
        const int x = header->sectionViewportPosition(section) + header->sectionSize(section) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    }

    // The record editor, its boxes Text1 .. Text8 and its Save button.
    Form2& editor() { return form->form2(); }
    QLineEdit& box(int n) {
        return *editor().findChild<QLineEdit*>(QStringLiteral("Text%1").arg(n));
    }
    void clickSave() { QTest::mouseClick(&editor().PushButton(1), Qt::LeftButton); }

    QString cell(int row, MovieColumn column) {
        return list().items().cell(row, columnIndex(column));
    }
    // The cells of a column, top to bottom.
    QStringList column(MovieColumn column) {
        QStringList cells;
        for (int row = 0; row < list().items().itemCount(); ++row) {
            cells << cell(row, column);
        }
        return cells;
    }
    // The row showing this title, or -1.
    int rowOf(const QString& title) { return int(column(MovieColumn::Title).indexOf(title)); }
    void select(const QString& title) { list().selectRow(rowOf(title)); }
    std::string selectedTitle() {
        const int row = list().selectedRow();
        return row < 0 ? std::string() : cell(row, MovieColumn::Title).toStdString();
    }
};

// A loaded main window, shown and active, with the list filled from movies
// (title, year 1999, genre Drama) put straight into the catalogue.
struct ShownForm1 : MainWindowDriver {
    explicit ShownForm1(const QStringList& titles = {}) {
        Form1& f = loaded();
        QList<QStringList> rows;
        for (const QString& title : titles) {
            rows.append({title, QStringLiteral("1999"), QStringLiteral("Drama")});
        }
        TempCatalogue::addMovies(catalogue(), rows);
        listDVD(f.ListView1(), movies, f.pointer(), boxes);
        showActive();
    }
};
