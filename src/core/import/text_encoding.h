#pragma once

#include <QByteArrayView>
#include <QString>

// How the bytes of a text file are turned into characters.
enum class TextEncoding { Utf8, Windows1252 };

// The text of bytes in the encoding. Windows-1252 maps its five unassigned
// bytes to the control characters of the same number, as browsers do.
QString decodeText(QByteArrayView bytes, TextEncoding encoding);
// The same written over `out`, reusing its room when it has it alone.
void decodeTextInto(QByteArrayView bytes, TextEncoding encoding, QString& out);

// Checks a stream of bytes, given in pieces cut anywhere, for being UTF-8.
class Utf8Check {
public:
    void add(QByteArrayView piece);
    // True when every piece together was UTF-8, with no character cut short
    // at the end.
    bool finish() const;

private:
    QByteArray m_carry; // the start of a character cut off at a piece's end
    bool m_valid = true;
};

// The UTF-8 byte-order mark.
inline constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";
