#pragma once

#include <QByteArray>
#include <QString>

// Skin files are Qt style sheets, and Qt reads them itself. What it does not
// do is refuse one: a file that is no style sheet at all is taken without a
// word and silently changes nothing. So a skin file is checked here first,
// strictly enough to refuse such a file with a description. Lengths in
// pixels can also be scaled to the screen, which Qt leaves as they are when
// it does not scale the whole window.
namespace StyleSheet {

// The most a skin file may hold.
inline constexpr qint64 kMaxBytes = qint64(1024) * 1024;

// The text of a file's bytes (without a byte order mark) when they are a
// style sheet of "selector { property: value; ... }" rules; fails with a
// description (line numbers count from 1) when they are not UTF-8 text, hold
// no rule, or are not well-formed: unclosed comments, strings or blocks, a
// block without a selector or nested in another, a declaration without a
// property or value.
QString checkedText(const QByteArray& bytes);

// Every length in pixels ("12px") in a style sheet scaled by the factor and
// rounded; text in comments, quotes and url(...) stays as it is.
QString scaledPixelLengths(const QString& sheet, double factor);

} // namespace StyleSheet
