#include "core/export/catalogue_workbook.h"

#include "core/formats/xlsx_limits.h"
#include "core/import/ooxml_text.h"

#include <QStringList>
#include <algorithm>

namespace {

// The sheet's name and its header row: the movie list's own captions.
const QString kSheetName = QStringLiteral("Movies");
const std::array<QString, DvdRecord::kFieldCount + 1> kCaptions = {
    QStringLiteral("ID"),      QStringLiteral("Title"),       QStringLiteral("Year"),
    QStringLiteral("Genre"),   QStringLiteral("Cast"),        QStringLiteral("Director"),
    QStringLiteral("Runtime"), QStringLiteral("MPAA Rating"), QStringLiteral("Studio")};

const std::array<QString DvdRecord::*, DvdRecord::kFieldCount> kFields = {
    &DvdRecord::title,    &DvdRecord::year,    &DvdRecord::genre,  &DvdRecord::cast,
    &DvdRecord::director, &DvdRecord::runtime, &DvdRecord::rating, &DvdRecord::studio};

// Spreadsheet programs show at most 15 significant digits (and the importer
// shows a number of 16 digits or more with an exponent), so a longer run of
// digits stays text; 15 digits are well within what a double holds exactly.
constexpr qsizetype kMostNumberDigits = 15;
// Room for a header's filter button beside its caption.
constexpr int kFilterButtonWidth = 2;
// A column is never made wider than this many characters: a long cast list
// wraps or runs over rather than pushing the other columns off the screen.
constexpr int kWidestColumn = 60;

// The text as a cell holds it, never ending in half a character.
QString fittedToCell(const QString& text, qint64& cutValues) {
    if (text.size() <= kCellTextLimit) {
        return text;
    }
    ++cutValues;
    const qsizetype length =
        text.at(kCellTextLimit - 1).isHighSurrogate() ? kCellTextLimit - 1 : kCellTextLimit;
    return text.left(length);
}

} // namespace

bool readsBackAsNumber(const QString& text) {
    if (text.isEmpty() || text.size() > kMostNumberDigits) {
        return false;
    }
    if (text.size() > 1 && text.front() == QLatin1Char('0')) {
        return false;
    }
    return std::all_of(text.cbegin(), text.cend(),
                       [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

CatalogueWorkbook::CatalogueWorkbook(const QString& path, const QStringList& moreCaptions)
    : m_file(path, kSheetName) {
    QStringList captions(kCaptions.begin(), kCaptions.end());
    captions << moreCaptions;
    for (int column = 0; column < int(captions.size()); ++column) {
        const QString& caption = captions[column];
        m_file.writeBoldText(0, column, caption);
        m_widest.push_back(int(caption.size()) + kFilterButtonWidth);
    }
    m_file.freezeRows(1);
}

void CatalogueWorkbook::addMovie(const DvdRecord& movie, const QStringList& more) {
    ++m_movies;
    write(0, movie.id);
    for (std::size_t field = 0; field < kFields.size(); ++field) {
        write(int(field + 1), movie.*kFields[field]);
    }
    const int first = int(kFields.size() + 1);
    for (int column = 0; column < int(more.size()) && first + column < int(m_widest.size());
         ++column) {
        write(first + column, more[column]);
    }
}

void CatalogueWorkbook::write(int column, const QString& text) {
    if (text.isEmpty()) {
        return;
    }
    const int row = int(m_movies);
    int& widest = m_widest[std::size_t(column)];
    widest = std::max(widest, int(std::min<qsizetype>(text.size(), kWidestColumn)));
    if (readsBackAsNumber(text)) {
        m_file.writeNumber(row, column, double(text.toLongLong()));
    } else {
        m_file.writeProtectedText(row, column, protectOoxmlEscapes(fittedToCell(text, m_cut)));
    }
}

void CatalogueWorkbook::close() {
    const int columns = int(m_widest.size());
    for (int column = 0; column < columns; ++column) {
        m_file.fitColumn(column, std::min(m_widest[std::size_t(column)], kWidestColumn));
    }
    m_file.setAutofilter(0, 0, int(m_movies), columns - 1);
    m_file.close();
}
