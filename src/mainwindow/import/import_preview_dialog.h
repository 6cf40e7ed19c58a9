#pragma once

#include "core/import/import_plan.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

// What importing a file will do, shown before anything is written: how many
// movies will be added, the rows skipped and why, the look-alikes of movies
// already in the catalogue, named, with a choice to skip them, the first movies as
// they will be stored, the note on the text's encoding and the ignored
// columns. A workbook with more than one sheet of data offers its sheets:
// choosing one asks for it to be read (sheetChosen). Each column of the file
// is shown with its first values and the field it goes into, which the
// person can change, as whether runtimes in minutes are converted: that asks
// for the file to be read again (columnsChosen). The values that look wrong
// are listed. Import accepts (greyed while no movie would be added, as when
// no column holds the title), Cancel rejects.
class ImportPreviewDialog : public QDialog {
    Q_OBJECT
public:
    // How many of the first movies the table shows.
    static constexpr std::size_t kShownMovies = 20;

    ImportPreviewDialog(const ImportPlan& plan, const QString& fileName, QWidget* parent = nullptr);

    // Whether the look-alikes are to be left out.
    bool skipLookAlikes() const;
    // The columns as the person chose them: a choice by position for every
    // column, and whether runtimes are in minutes.
    ColumnOptions columnOptions() const;
    // Shows another plan of the same file (another sheet of it); the plan
    // must outlive the dialog or the next call.
    void showPlan(const ImportPlan& plan);
    // How many of the plan's movies have the title, year and director of a
    // movie already in the catalogue: said in a line of the summary when any.
    void setDuplicateCount(qint64 count);

signals:
    void sheetChosen(const QString& sheet);
    void columnsChosen();

protected:
    // Keeps a column's field choice in sight when it takes the focus.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void update();
    // Shows the plan's columns: in place when they are the ones shown.
    void showColumns();
    // The field chosen for a column: another column with that field is
    // ignored from now on; then the file is to be read again.
    void chooseField(int row);
    QComboBox* fieldBox(int row) const;

    const ImportPlan* m_plan;
    QString m_fileName;
    QLabel* m_sheetLabel = nullptr;
    QComboBox* m_sheets = nullptr;
    QPlainTextEdit* m_summary = nullptr;
    QCheckBox* m_skip = nullptr;
    QTableWidget* m_firstMovies = nullptr;
    QLabel* m_columnsLabel = nullptr;
    QTableWidget* m_columns = nullptr;
    QCheckBox* m_minutes = nullptr;
    QPushButton* m_import = nullptr;
    qint64 m_duplicates = 0;
};
