#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <algorithm>
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
    void reserve(int rows) { m_rows.reserve(std::size_t(std::max(rows, 0))); }
    int addItem(const QString& text);
    // Adds a row with all its cells at once (column 0 is the item text).
    int addRow(const std::array<QStringView, kMaxColumns>& cells);
    void setCell(int row, int column, QStringView text); // column 0 is the item text
    QString cell(int row, int column) const { return cellView(row, column).toString(); }
    // The cell's text without a copy; valid until the row changes.
    QStringView cellView(int row, int column) const;
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
    // A row keeps its cells one after the other in one string (cell c spans
    // offsets[c] .. offsets[c + 1]): one allocation a row keeps 100 000
    // movies small and quick to fill.
    struct Row {
        QString text;
        std::array<quint32, kMaxColumns + 1> offsets{};
        bool ticked = false;

        QStringView cell(int column) const {
            return QStringView(text).mid(offsets[std::size_t(column)],
                                         offsets[std::size_t(column) + 1] -
                                             offsets[std::size_t(column)]);
        }
        void assign(const std::array<QStringView, kMaxColumns>& cells);
    };

    void checkRow(int row) const;
    void checkColumn(int column) const;
    int appendRow(Row&& row);
    void applySort();

    QStringList m_headers;
    std::vector<Row> m_rows;
    int m_checkColumn = 0;
    bool m_filling = false;
    bool m_sorted = false;
    int m_sortKey = 0;
    int m_sortOrder = 0;
};
