#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <array>
#include <vector>

// The rows of the movie list: per row the id and its eight sub-items as
// text, plus the row's tick state. The model keeps its rows in the order
// the list shows them and sorts them itself (by the text of one column,
// case-insensitively and stably), so row numbers are display positions.
class MovieListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kMaxColumns = 9;

    explicit MovieListModel(QObject* parent = nullptr);

    // Column headers (0-based).
    int addColumn(const QString& text);
    QString columnText(int column) const;

    // Rows (0-based, in display order). Outside a fill each change is
    // announced to the view at once; inside beginFill()/endFill() the view
    // is told once, at the end.
    void clear();
    void beginFill();
    void endFill();
    int addItem(const QString& text);
    void setCell(int row, int column, const QString& text); // column 0 is the item text
    const QString& cell(int row, int column) const;
    bool isTicked(int row) const;
    void setTicked(int row, bool ticked);
    int itemCount() const { return int(m_rows.size()); }

    // The column whose cells carry the tick boxes (the first visible one).
    void setCheckColumn(int column);
    int checkColumn() const { return m_checkColumn; }

    // Sorting kept by the list itself.
    bool sorted() const { return m_sorted; }
    int sortKey() const { return m_sortKey; }
    int sortOrder() const { return m_sortOrder; }
    void setSorted(bool on);
    void setSortKey(int column);
    void setSortOrder(int order);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Row {
        std::array<QString, kMaxColumns> cells;
        bool ticked = false;
    };

    void checkRow(int row) const;
    void applySort();

    QStringList m_headers;
    std::vector<Row> m_rows;
    int m_checkColumn = 0;
    bool m_filling = false;
    bool m_sorted = false;
    int m_sortKey = 0;
    int m_sortOrder = 0;
};
