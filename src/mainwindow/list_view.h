#pragma once

#include "mainwindow/movie_list_model.h"

#include <QElapsedTimer>
#include <QTreeView>
#include <array>

// The movie list control: a report view over MovieListModel with column
// headers whose widths are set and read in twips, a tick box on every row
// (shown in the first visible column, so it stays usable while "ID" is
// hidden at width 0), and the sort settings Sorted / SortKey / SortOrder.
class ListView : public QTreeView {
    Q_OBJECT
public:
    explicit ListView(QWidget* parent = nullptr);

    MovieListModel& items() { return m_model; }
    const MovieListModel& items() const { return m_model; }

    // Column headers, 0-based; widths in twips.
    int addColumnHeader(const QString& text);
    int columnHeaderCount() const { return m_model.headerCount(); }
    float columnHeaderWidth(int column) const;
    void setColumnHeaderWidth(int column, float twips);
    // Shows an extra field's column (movie_list_model.h) at a width in
    // twips, or hides it; and its width while shown.
    void showExtraColumn(int extra, bool shown, float twips);
    float extraColumnWidth(int extra) const;

    // The row the user selected (highlighted), or -1 when none is.
    int selectedRow() const;
    void selectRow(int row);

    bool Sorted() const { return m_model.sorted(); }
    int SortKey() const { return m_model.sortKey(); }
    Qt::SortOrder SortOrder() const { return m_model.sortOrder(); }
    void setSorted(bool on);
    void setSortKey(int column);
    void setSortOrder(Qt::SortOrder order);

    // Type-to-find looks in the titles.
    void keyboardSearch(const QString& search) override;

protected:
    // Space ticks or clears the current row, unless it continues a title
    // being typed.
    void keyPressEvent(QKeyEvent* event) override;

Q_SIGNALS:
    // A click on a column header; index is 1-based.
    void ColumnClick(int index);

private:
    void updateCheckColumn();
    void updateSortIndicator();

    MovieListModel m_model;
    // The twips each column was last set to, kept so that reading a width
    // back gives the same number while the pixel width has not changed.
    std::array<float, MovieListModel::kMaxColumns> m_widthTwips{};
    QString m_searchText;
    QElapsedTimer m_searchClock;
};
