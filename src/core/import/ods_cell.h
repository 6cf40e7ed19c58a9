#pragma once

#include "core/formats/expat_parser.h"

#include <QString>
#include <string>
#include <string_view>

// More rows or columns than any sheet has: repeat counts stop growing here.
constexpr qint64 kMostOdsRepeats = qint64(1) << 40;

// One cell of an OpenDocument sheet as read: its shown text and how many
// times it stands.
struct OdsCell {
    QString text;
    qint64 repeat = 1;
    bool hasData = false;        // a text, a value or a formula
    bool unsavedFormula = false; // a formula without a result
};

// Reads one cell (<table:table-cell> or <table:covered-table-cell>) from the
// events inside it. Its text is the one the spreadsheet shows: its
// paragraphs joined by line breaks, where runs of blanks in the markup count
// as one space, as in any OpenDocument text (the spaces, tabs and line
// breaks it means are elements of their own); without paragraphs, the value
// the file stores. Fails (ValueTooLong) when the text grows beyond maxBytes
// bytes.
class OdsCellReader {
public:
    explicit OdsCellReader(qint64 maxBytes) : m_maxBytes(maxBytes) {}

    static bool isCell(std::string_view name) {
        return name == "table-cell" || name == "covered-table-cell";
    }

    // At the cell's start.
    void begin(const XmlAttributes& attributes);
    // Until the cell's own end.
    bool active() const { return m_active; }
    void startElement(std::string_view name, const XmlAttributes& attributes);
    // True at the cell's own end; take() then gives the cell.
    bool endElement();
    void text(std::string_view text);
    OdsCell take() const;

private:
    void checkSize(qint64 size) const;

    qint64 m_maxBytes;
    bool m_active = false;
    qint64 m_repeat = 1;
    bool m_formula = false;
    bool m_valued = false;
    std::string m_stored; // the value the file stores, UTF-8
    std::string m_text;   // the paragraphs so far, UTF-8
    int m_paragraphs = 0;
    int m_paragraphDepth = 0; // 1 right inside a paragraph
    int m_skipped = 0;        // depth inside an element passed over
    bool m_afterBlank = false;
};

// How many times a cell or row stands, from its repeat attribute.
qint64 odsRepeat(const XmlAttributes& attributes, std::string_view localName);
