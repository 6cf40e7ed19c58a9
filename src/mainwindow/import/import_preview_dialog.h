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
// choosing one asks for it to be read (sheetChosen). Import accepts, Cancel
// rejects.
class ImportPreviewDialog : public QDialog {
    Q_OBJECT
public:
    // How many of the first movies the table shows.
    static constexpr std::size_t kShownMovies = 20;

    ImportPreviewDialog(const ImportPlan& plan, const QString& fileName, QWidget* parent = nullptr);

    // Whether the look-alikes are to be left out.
    bool skipLookAlikes() const;
    // Shows another plan of the same file (another sheet of it); the plan
    // must outlive the dialog or the next call.
    void showPlan(const ImportPlan& plan);

signals:
    void sheetChosen(const QString& sheet);

private:
    void update();

    const ImportPlan* m_plan;
    QString m_fileName;
    QLabel* m_sheetLabel = nullptr;
    QComboBox* m_sheets = nullptr;
    QPlainTextEdit* m_summary = nullptr;
    QCheckBox* m_skip = nullptr;
    QTableWidget* m_firstMovies = nullptr;
    QPushButton* m_import = nullptr;
};
