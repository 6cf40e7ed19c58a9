#pragma once

#include "core/find/folded_rows.h"
#include "core/find/query.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QSet>
#include <QStringList>
#include <algorithm>
#include <array>
#include <functional>
#include <vector>

// The rows of the movie list: per row the id and its eight sub-items as
// text, plus the row's tick state. The model keeps its rows in the order
// the list shows them and sorts them itself (by the text of one column,
// case-insensitively and stably), so row numbers are display positions.
// A find text narrows the rows shown (see setFilterText); every row number
// below then counts the shown rows only, as if the list held nothing else.
// Extra fields (other features' texts per movie) can be shown as columns
// after the list's own and named in the find text (movie_list_extras.cpp).
class MovieListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kMaxColumns = 9;

    explicit MovieListModel(QObject* parent = nullptr);

    // Column headers (0-based).
    int addColumn(const QString& text);
    QString columnText(int column) const;
    // The list's own columns, without the extra ones shown after them.
    int headerCount() const { return int(m_headers.size()); }

    // A field beyond the list's own: `id` is its word in the find text
    // (`id:text`), `caption` its column's header, and `emptyWord` what the
    // find text reads in a movie's empty cell ("no": `cover:no`); a
    // `numeric` field's texts are numbers the find text compares (`copies:>1`).
    struct ExtraField {
        QString id;
        QString caption;
        QString emptyWord;
        bool numeric = false;
        QStringList stateWords; // carried after kFindOnly, see ColumnProvider
    };
    // Gives the text of every movie's cell of an extra field by movie id, in
    // one go; movies left out have an empty cell.
    using ExtraLoader = std::function<QHash<qint64, QString>(int extra)>;
    void setExtraLoader(ExtraLoader loader) { m_extraLoader = std::move(loader); }
    // Adds an extra field, hidden; its number counts from 0.
    int addExtraField(const ExtraField& field);
    int extraFieldCount() const { return int(m_extras.size()); }
    // Shows or hides an extra field's column; shown ones come after the
    // list's own in the order their fields were added. A sort by a column
    // that goes away ends, the rows staying in their order.
    void showExtraColumn(int extra, bool shown);
    bool extraColumnShown(int extra) const { return columnOfExtra(extra) >= 0; }
    // The column an extra field is shown in (-1 when hidden), and the extra
    // field a column shows (-1 for the list's own).
    int columnOfExtra(int extra) const;
    int extraOfColumn(int column) const;
    // Reads the extra fields a find text names (`format:`, value or not)
    // that are not read yet, so that the key typing the value finds them
    // read; true when it read any. A text naming none reads nothing.
    bool readExtrasNamed(QStringView text);
    // The texts of the extra fields in use are read again: the catalogue
    // changed in them without a refill. The rows shown and their order stay
    // until the find text or the sort changes, as for a changed cell.
    void reloadExtras();

    // The rows of these movies are drawn in `colour` (their foreground);
    // an empty set leaves every row as the style draws it.
    void setMutedMovies(QSet<qint64> movies, const QColor& colour);

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
    // The ids (column 0) of the ticked rows, shown or not, and ticking the
    // rows with those ids again after a refill.
    QSet<QString> tickedIds() const;
    void tickIds(const QSet<QString>& ids);
    int itemCount() const { return m_filtered ? int(m_shown.size()) : int(m_rows.size()); }

    // Finding: only the rows that match the text are shown (every row when
    // it is empty or blank). The text stays through refills and applies to
    // the new rows; ticks stay with their rows while they are hidden; the
    // sort orders the shown rows. A change that narrows the last text only
    // looks at the rows shown now. A text that is no query (filterError())
    // leaves the rows shown as they are, under the last text that was one.
    void setFilterText(const QString& text);
    const QString& filterText() const { return m_filterText; }
    // Why the find text is no query ("unknown field foo"); empty when it is one.
    const QString& filterError() const { return m_filterError; }
    // Every row, shown or not.
    int totalCount() const { return int(m_rows.size()); }
    // Folds up to `rows` more rows for finding, so that the first find text
    // after a fill need not fold them all at once; true while rows remain.
    bool foldAhead(int rows);
    // The column whose cells carry the tick boxes (the first visible one).
    void setCheckColumn(int column);
    int checkColumn() const { return m_checkColumn; }

    // Sorting kept by the list itself.
    bool sorted() const { return m_sorted; }
    int sortKey() const { return m_sortKey; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }
    void setSorted(bool on);
    void setSortKey(int column);
    void setSortOrder(Qt::SortOrder order);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

Q_SIGNALS:
    // The extra fields' texts were read again without a refill.
    void extrasReloaded();

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

    class StoredRows;

    // An extra field and, while it is in use (shown or named in the find
    // text, with rows in the list), its texts by movie id, plain and folded.
    struct Extra {
        ExtraField field;
        bool loaded = false;
        QHash<qint64, QString> values;
        QHash<qint64, QString> folded;
        QString foldedEmpty;
        // The folded text of each kept row by its position, laid out for the
        // rows as they stood at `byRowStamp`: a find reads it without a
        // look-up by id. Rows appended since are looked up by id.
        std::vector<QStringView> byRow;
        quint64 byRowStamp = 0;
    };
    static qint64 idOf(const Row& row);
    // The text a row shows in a column, its own or an extra one.
    QString sortText(const Row& row, int column) const;
    // Reads the extra fields in use (or named by `query`) that are not read
    // yet, or all of them again; forgets those no longer in use.
    void loadExtras(bool again, const Find::Query* query = nullptr);
    void readExtra(int extra);
    bool extraInUse(int extra) const;
    static bool namesExtra(const Find::Query& query, int extra);
    // The extra fields a find text names as `name:`, with or without a value.
    std::vector<int> extrasNamed(QStringView text) const;
    // Lays out the folded texts of an extra field by row (Extra::byRow).
    void layOutExtra(Extra& extra);
    // The kept rows moved or one changed its movie: laid-out texts are stale.
    void rowsMoved() { ++m_rowsStamp; }

    // Where a shown row is kept, and the shown row (or -1) of a kept one.
    std::size_t stored(int row) const {
        return m_filtered ? std::size_t(m_shown[std::size_t(row)]) : std::size_t(row);
    }
    int shownRowOf(int storedRow) const;
    static Find::RowText findText(const Row& row);

    void checkRow(int row) const;
    void checkColumn(int column) const;
    int appendRow(Row&& row);
    int appendFilteredRow(Row&& row);
    void applySort();
    // Works out the shown rows for the query and puts them in place,
    // telling the view unless a fill is under way.
    void refilter(Find::Query query, bool narrowing);
    std::vector<int> findRows(const Find::Query& query, bool narrowing);
    // The rows kept or their order changed: the finds remembered are out of date.
    void forgetFinds() { m_recentFinds.clear(); }
    // An extra field was read anew: the finds that named it are out of date.
    void forgetFindsNaming(int extra);

    QStringList m_headers;
    std::vector<Row> m_rows;
    quint64 m_rowsStamp = 1; // see rowsMoved()
    int m_checkColumn = 0;
    bool m_filling = false;
    bool m_sorted = false;
    int m_sortKey = 0;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;

    QString m_filterText;
    QString m_filterError;
    Find::Query m_query;
    bool m_filtered = false;   // m_shown is in force
    std::vector<int> m_shown;  // kept position of each shown row, ascending
    Find::FoldedRows m_folded; // built ahead (foldAhead) or on the first find after a fill
    // The rows the last few texts found, the latest last: a key deleted again
    // takes them back instead of looking at every row.
    struct Found {
        Find::Query query;
        std::vector<int> rows;
    };
    std::vector<Found> m_recentFinds;
    bool m_wholePassDue = false; // a row changed: the next find looks at every row

    std::vector<Extra> m_extras;
    QStringList m_extraIds;          // the extra fields' words, for the find text
    QList<bool> m_extraNumeric;      // which of them hold numbers
    QList<QStringList> m_extraWords; // the state words each carries
    std::vector<int> m_extraShown;   // the extra fields shown as columns, ascending
    ExtraLoader m_extraLoader;

    QSet<qint64> m_muted;
    QColor m_mutedColour;
};
