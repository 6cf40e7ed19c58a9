// Import and export from the main window: the preview's counts, a file
// dropped on the window, and an import that is cancelled or fails.
#include "core/import/import_file.h"
#include "import/workbook_builder.h"
#include "mainwindow/import/catalogue_file_commands.h"
#include "mainwindow/import/import_preview_dialog.h"
#include "support/catalogue_internals.h"
#include "support/main_window_driver.h"
#include "support/qt_printers.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDropEvent>
#include <QFileDialog>
#include <QImage>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <sqlite3.h>

namespace {

// Runs `inside` on the next dialog of that kind as soon as it is up in its
// modal loop; closes it when `inside` left it open.
template <class Dialog> void onModal(std::function<void(Dialog&)> inside) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, inside = std::move(inside)] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            inside(*dialog);
            if (dialog->isVisible()) {
                dialog->reject();
            }
        }
    });
    poll->start(10);
}

void onPreview(std::function<void(ImportPreviewDialog&)> inside) {
    onModal<ImportPreviewDialog>(std::move(inside));
}

QString summaryOf(ImportPreviewDialog& preview) {
    return preview.findChild<QPlainTextEdit*>(QStringLiteral("summary"))->toPlainText();
}

// The field chosen for a column of the file, as the person chooses it.
QComboBox* fieldOf(ImportPreviewDialog& preview, int column) {
    return qobject_cast<QComboBox*>(
        preview.findChild<QTableWidget*>(QStringLiteral("columns"))->cellWidget(column, 2));
}
void choose(ImportPreviewDialog& preview, int column, const QString& field) {
    QComboBox* box = fieldOf(preview, column);
    box->setCurrentIndex(box->findText(field));
    emit box->activated(box->currentIndex());
}
QString firstMovie(ImportPreviewDialog& preview, int field) {
    const QTableWidgetItem* item =
        preview.findChild<QTableWidget*>(QStringLiteral("firstMovies"))->item(0, field);
    return item ? item->text() : QStringLiteral("(none)");
}

class ImportWindowTest : public ::testing::Test {
protected:
    ImportWindowTest() {
        TempCatalogue::addMovies(window.catalogue(), {{"Heat", "1995"}});
        listDVD(window.list(), window.movies, window.form->pointer(), window.boxes);
        QFile file(csv);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Title,Year,Notes\nheat,1995,look-alike\nAlien,1979,x\n,2000,no title\n"
                   "It's \"--\" ;%1 \xF0\x9F\x8E\xAC,1982,\n");
    }
    QStringList titles() {
        return TempCatalogue::rows(window.catalogue(), QStringLiteral("title"));
    }

    ShownForm1 window;
    QString csv = window.dirs.root() + QStringLiteral("/list.csv");
};

TEST_F(ImportWindowTest, ThePreviewCountsWhatWillHappenAndOffersToSkipLookAlikes) {
    const ImportPlan plan = planImportFile(csv, window.movies.movies());
    ImportPreviewDialog preview(plan, QStringLiteral("list.csv"));
    auto* skip = preview.findChild<QCheckBox*>(QStringLiteral("skipLookAlikes"));
    auto* table = preview.findChild<QTableWidget*>(QStringLiteral("firstMovies"));
    EXPECT_EQ(summaryOf(preview), QStringLiteral("3 movies will be added.\n"
                                                 "1 row without a title will be skipped.\n"
                                                 "  Line 4: no title\n"
                                                 "1 look-alike (same title and year as a movie "
                                                 "already in the catalogue) will be added.\n"
                                                 "Ignored columns: Notes.\n"
                                                 "The look-alikes:\n"
                                                 "  Line 2: \"heat\" (1995) looks like "
                                                 "\"Heat\" (1995)"));
    EXPECT_TRUE(preview.findChild<QComboBox*>(QStringLiteral("sheet"))->isHidden());
    ASSERT_EQ(table->rowCount(), 3);
    EXPECT_EQ(table->item(0, 0)->text(), QStringLiteral("heat"));
    EXPECT_EQ(table->item(2, 0)->text(), QStringLiteral("It's \"--\" ;%1 🎬"));
    EXPECT_EQ(table->item(2, 1)->text(), QStringLiteral("1982"));

    skip->setChecked(true);
    EXPECT_TRUE(preview.skipLookAlikes());
    EXPECT_TRUE(summaryOf(preview).startsWith(QStringLiteral("2 movies will be added.")));
    EXPECT_TRUE(summaryOf(preview).contains(QStringLiteral("will be skipped.\nIgnored")));
    EXPECT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->item(0, 0)->text(), QStringLiteral("Alien"));
}

// A workbook of several sheets offers them; choosing one reads it again.
TEST_F(ImportWindowTest, ThePreviewOffersTheSheetsOfAWorkbookWithData) {
    const QByteArray cell = "<table:table-cell office:value-type=\"string\"><text:p>";
    const auto sheet = [&](const QByteArray& name, const QByteArray& title) {
        return "<table:table table:name=\"" + name + "\"><table:table-row>" + cell +
               "Title</text:p></table:table-cell></table:table-row><table:table-row>" + cell +
               title + "</text:p></table:table-cell></table:table-row></table:table>";
    };
    const QString ods = window.dirs.root() + QStringLiteral("/list.ods");
    QFile file(ods);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(makeSpreadsheet("<table:table table:name=\"Blank\"/>" + sheet("Films", "Alien") +
                               sheet("Old", "Ran")));
    file.close();

    QStringList shown;
    onPreview([&](ImportPreviewDialog& preview) {
        auto* sheets = preview.findChild<QComboBox*>(QStringLiteral("sheet"));
        EXPECT_FALSE(sheets->isHidden());
        EXPECT_EQ(sheets->count(), 2);
        shown << sheets->currentText() << summaryOf(preview).section('\n', -1);
        sheets->setCurrentIndex(1);
        emit sheets->activated(1);
        shown << sheets->currentText() << preview.windowTitle();
        preview.findChild<QPushButton*>(QStringLiteral("import"))->click();
    });
    window.form->findChild<CatalogueFileCommands*>()->importFile(ods);
    EXPECT_EQ(shown, QStringList({"Films",
                                  "Read the sheet \"Films\"; the workbook also has \"Old\".", "Old",
                                  "Import movies: list.ods (OpenDocument spreadsheet (sheet "
                                  "\"Old\"))"}));
    EXPECT_EQ(titles(), QStringList({"Heat", "Ran"}));
}

// The person chooses the columns' fields; the file is read again with
// them, and the next file with the same header texts starts with them.
TEST_F(ImportWindowTest, ChosenColumnsAreReadAgainAndRememberedForTheSameHeaders) {
    const auto write = [this](const QString& name, const QByteArray& text) {
        QFile file(window.dirs.root() + QLatin1Char('/') + name);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return file.fileName();
    };
    CatalogueFileCommands& commands = *window.form->findChild<CatalogueFileCommands*>();
    QStringList seen;
    onPreview([&](ImportPreviewDialog& preview) {
        seen << firstMovie(preview, 1) << fieldOf(preview, 1)->currentText();
        choose(preview, 1, QStringLiteral("Year"));
        preview.findChild<QCheckBox*>(QStringLiteral("runtimeInMinutes"))->setChecked(true);
        seen << firstMovie(preview, 1) << firstMovie(preview, 5);
        preview.findChild<QPushButton*>(QStringLiteral("import"))->click();
    });
    commands.importFile(write("a.csv", "Name,Made,Length\nAlien,1979,117\n"));
    EXPECT_EQ(seen, QStringList({"", "Ignore", "1979", "1:57"}));
    EXPECT_EQ(titles(), QStringList({"Heat", "Alien"}));

    seen.clear();
    onPreview([&](ImportPreviewDialog& preview) {
        seen << fieldOf(preview, 1)->currentText() << firstMovie(preview, 1);
    });
    commands.importFile(write("b.csv", "NAME,  made ,Length\nRan,1985,160\n"));
    EXPECT_EQ(seen, QStringList({"Year", "1985"}));

    // No column names the title: the person is asked to choose one; two
    // columns chosen for it leave the later.
    seen.clear();
    onPreview([&](ImportPreviewDialog& preview) {
        auto* import = preview.findChild<QPushButton*>(QStringLiteral("import"));
        seen << summaryOf(preview).section('\n', 0, 0) << QString::number(import->isEnabled());
        choose(preview, 1, QStringLiteral("Title"));
        choose(preview, 0, QStringLiteral("Title"));
        seen << fieldOf(preview, 1)->currentText() << firstMovie(preview, 0)
             << QString::number(import->isEnabled());
    });
    commands.importFile(write("c.csv", "Nom,An\nRan,1985\n"));
    EXPECT_EQ(seen, QStringList({"No column holds the title: choose the column that does, or no "
                                 "movie can be imported.",
                                 "0", "Ignore", "Ran", "1"}));
}

// A file's copy columns go into the copy's fields, and stay there when
// another column is chosen; rows of one movie make one movie with its copies.
TEST_F(ImportWindowTest, CopyColumnsAreShownAndTheirMoviesImportedWithTheirCopies) {
    CatalogueFileCommands& commands = *window.form->findChild<CatalogueFileCommands*>();
    QFile file(window.dirs.root() + QStringLiteral("/copies.csv"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Title,Format,Made\nAlien,Blu-ray,1979\nAlien,dvd,1979\n");
    file.close();
    QStringList seen;
    onPreview([&](ImportPreviewDialog& preview) {
        seen << fieldOf(preview, 1)->currentText();
        choose(preview, 2, QStringLiteral("Year"));
        seen << fieldOf(preview, 1)->currentText() << summaryOf(preview).section('\n', 0, 1);
        preview.findChild<QPushButton*>(QStringLiteral("import"))->click();
    });
    commands.importFile(file.fileName());
    EXPECT_EQ(seen, QStringList({"Format", "Format",
                                 "1 movie will be added.\n2 copies will be added with them."}));
    EXPECT_EQ(titles(), QStringList({"Heat", "Alien"}));

    // A look-alike skipped brings its copy to the movie already stored.
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("Title,Format,Year\nHEAT,4K UHD,1995\n");
    file.close();
    bool importable = false;
    onPreview([&](ImportPreviewDialog& preview) {
        preview.findChild<QCheckBox*>(QStringLiteral("skipLookAlikes"))->setChecked(true);
        auto* import = preview.findChild<QPushButton*>(QStringLiteral("import"));
        importable = import->isEnabled();
        import->click();
    });
    commands.importFile(file.fileName());
    EXPECT_TRUE(importable);
    EXPECT_EQ(TempCatalogue::rows(window.catalogue(),
                                  QStringLiteral("title, (select group_concat(format) from "
                                                 "shelf_copy c where c.movie_id = dvd.id)")),
              QStringList({"Heat|4K UHD", "Alien|Blu-ray,DVD"}));
}

TEST_F(ImportWindowTest, AFileDroppedOnTheWindowIsImportedAfterThePreview) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(csv)});
    Form1& form = *window.form;
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &enter);
    EXPECT_TRUE(enter.isAccepted());

    // An image is a cover, not a movie list.
    const QString image = window.dirs.root() + QStringLiteral("/cover.png");
    QImage pixel(4, 4, QImage::Format_RGB32);
    pixel.fill(Qt::red);
    ASSERT_TRUE(pixel.save(image));
    QMimeData imageData;
    imageData.setUrls({QUrl::fromLocalFile(image)});
    QDragEnterEvent imageEnter(QPoint(20, 20), Qt::CopyAction, &imageData, Qt::LeftButton,
                               Qt::NoModifier);
    imageEnter.ignore();
    QApplication::sendEvent(&form, &imageEnter);
    EXPECT_FALSE(imageEnter.isAccepted());

    bool previewed = false;
    onPreview([&](ImportPreviewDialog& preview) {
        previewed = true;
        preview.findChild<QCheckBox*>(QStringLiteral("skipLookAlikes"))->setChecked(true);
        preview.findChild<QPushButton*>(QStringLiteral("import"))->click();
    });
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&form, &drop);
    EXPECT_TRUE(drop.isAccepted());
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.boxes.count() > 0; }, 5000));
    EXPECT_TRUE(previewed);
    EXPECT_EQ(window.boxes.last().text, QStringLiteral("Added 2 movies."));
    EXPECT_EQ(titles(), QStringList({"Heat", "Alien", "It's \"--\" ;%1 🎬"}));
    EXPECT_EQ(window.list().items().rowCount(), 3); // the list was refilled
    EXPECT_EQ(QDir(window.dirs.dataFolder() + "/Tarnwick/Reelkeeper/backups")
                  .entryList({"*-import.mdb"})
                  .size(),
              1);

    // A file named like an image that holds none: dropped on a movie,
    // the covers say it is no image, and nothing is imported.
    const QString notImage = window.dirs.root() + QStringLiteral("/list.jpg");
    ASSERT_TRUE(QFile::copy(csv, notImage));
    QMimeData notImageData;
    notImageData.setUrls({QUrl::fromLocalFile(notImage)});
    QDragEnterEvent notImageEnter(QPoint(20, 20), Qt::CopyAction, &notImageData, Qt::LeftButton,
                                  Qt::NoModifier);
    notImageEnter.ignore();
    QApplication::sendEvent(&form, &notImageEnter);
    EXPECT_FALSE(notImageEnter.isAccepted());
    QWidget* viewport = window.list().viewport();
    const QPoint onHeat = window.list().visualRect(window.list().model()->index(0, 1)).center();
    QDragEnterEvent enterRow(onHeat, Qt::CopyAction, &notImageData, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &enterRow);
    QDropEvent onRow(onHeat, Qt::CopyAction, &notImageData, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &onRow);
    QApplication::processEvents();
    ASSERT_EQ(window.boxes.count(), 2);
    EXPECT_TRUE(window.boxes.last().text.startsWith(QStringLiteral("The cover was not stored.")))
        << window.boxes.last().text.toStdString();
    EXPECT_EQ(titles().size(), 3);
}

// Text pasted on the list is previewed, look-alikes named, and imported
// with a snapshot; Cancel leaves the catalogue as it was.
TEST_F(ImportWindowTest, TextPastedOnTheListIsImportedAfterThePreview) {
    const QByteArray before = TempCatalogue::checksum(window.catalogue());
    QApplication::clipboard()->setText(QStringLiteral("Title,Year\nHÉAT,1995\nAlien,1979\n"));
    onPreview([](ImportPreviewDialog& preview) { preview.reject(); });
    QTest::keyClick(&window.list(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(TempCatalogue::checksum(window.catalogue()), before);
    EXPECT_EQ(window.boxes.count(), 0);

    QString summary;
    onPreview([&](ImportPreviewDialog& preview) {
        summary = summaryOf(preview);
        preview.findChild<QPushButton*>(QStringLiteral("import"))->click();
    });
    QTest::keyClick(&window.list(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(summary.contains(QStringLiteral("Line 2: \"HÉAT\" (1995) looks like \"Heat\" "
                                                "(1995)")))
        << summary.toStdString();
    ASSERT_EQ(window.boxes.count(), 1);
    EXPECT_EQ(window.boxes.last().text, QStringLiteral("Added 2 movies."));
    EXPECT_EQ(titles(), QStringList({"Heat", "HÉAT", "Alien"}));
    EXPECT_EQ(QDir(window.dirs.dataFolder() + "/Tarnwick/Reelkeeper/backups")
                  .entryList({"*-import.mdb"})
                  .size(),
              1);
}

// Only the same title, year and director count as a movie already stored:
// not another year, nor a stored movie without a director.
TEST_F(ImportWindowTest, ThePreviewCountsTheMoviesAlreadyStoredByTitleYearAndDirector) {
    TempCatalogue::addMovies(window.catalogue(), {{"Alien", "1979", "", "", "Ridley Scott"}});
    QApplication::clipboard()->setText(
        QStringLiteral("Title,Year,Director\nALIEN,1979,Ridley  Scott\nAlien,1986,Ridley Scott\n"
                       "Heat,1995,Michael Mann\n"));
    QString summary;
    onPreview([&](ImportPreviewDialog& preview) { summary = summaryOf(preview); });
    QTest::keyClick(&window.list(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(summary.endsWith(QStringLiteral(
        "\n1 movie(s) have the title, year and director of a movie already in the catalogue.")))
        << summary.toStdString();
}

// Cancel in the preview, a file that cannot be imported and a catalogue
// another program holds all leave the catalogue as it was.
TEST_F(ImportWindowTest, NothingIsAddedWhenCancelledOrWhenTheImportFails) {
    const QByteArray before = TempCatalogue::checksum(window.catalogue());
    onPreview([](ImportPreviewDialog& preview) { preview.reject(); });
    window.form->findChild<CatalogueFileCommands*>()->importFile(csv);
    EXPECT_EQ(window.boxes.count(), 0);

    const QString broken = window.dirs.root() + QStringLiteral("/broken.csv");
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("title\nfine\n\"never closed\n");
    file.close();
    window.form->findChild<CatalogueFileCommands*>()->importFile(broken);
    ASSERT_EQ(window.boxes.count(), 1);
    EXPECT_TRUE(window.boxes.last().text.contains(QStringLiteral("Line 3")))
        << window.boxes.last().text.toStdString();

    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open_v2(window.catalogue().toUtf8().constData(), &other,
                              SQLITE_OPEN_READWRITE, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "begin immediate", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_busy_timeout(CatalogueInternals::database(window.movies).handle(), 50);
    window.boxes.answer(Answer::Yes); // should no snapshot be possible, import anyway
    onPreview([](ImportPreviewDialog& preview) {
        preview.findChild<QPushButton*>(QStringLiteral("import"))->click();
    });
    window.form->findChild<CatalogueFileCommands*>()->importFile(csv);
    sqlite3_exec(other, "rollback", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_TRUE(window.boxes.last().text.contains(QStringLiteral("locked")))
        << window.boxes.last().text.toStdString();
    EXPECT_EQ(TempCatalogue::checksum(window.catalogue()), before);
}

TEST_F(ImportWindowTest, ExportFromTheContextMenuWritesEveryMovieToTheChosenFile) {
    const QString file = window.dirs.root() + QStringLiteral("/all");
    onModal<QFileDialog>([&](QFileDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Export catalogue\u2026"));
        dialog.selectNameFilter(QStringLiteral("Excel workbook (*.xlsx)"));
        dialog.selectFile(file);
        QMetaObject::invokeMethod(&dialog, "accept");
    });
    // Through the list's context menu.
    QAction* exportEntry = nullptr;
    for (QAction* action : window.list().actions()) {
        exportEntry = action->text() == CatalogueFileCommands::kExportEntry ? action : exportEntry;
    }
    ASSERT_NE(exportEntry, nullptr);
    exportEntry->trigger();
    ASSERT_EQ(window.boxes.count(), 1);
    EXPECT_EQ(window.boxes.last().text,
              QStringLiteral("Exported 1 movie to %1.xlsx.").arg(QDir::toNativeSeparators(file)));
    const ImportPlan plan = planImportFile(file + QStringLiteral(".xlsx"), {});
    ASSERT_EQ(plan.movies.size(), 1u);
    EXPECT_EQ(plan.movies[0].movie().title, QStringLiteral("Heat"));
}

} // namespace
