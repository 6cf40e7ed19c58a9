#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

// A Qt style sheet as rules of "selector { property: value; ... }", read
// strictly enough to refuse a file that is not a style sheet at all.
struct StyleDeclaration {
    QString property;
    QString value;
};

struct StyleRule {
    QString selector;
    std::vector<StyleDeclaration> declarations;
};

namespace StyleSheet {

// The most a skin file may hold.
inline constexpr qint64 kMaxBytes = qint64(1024) * 1024;

// Turns a file's bytes into style rules; fails with a description (line
// numbers count from 1) when they are not UTF-8 text, hold no rule, or are
// not well-formed: unclosed comments, strings or blocks, a block without a
// selector or nested in another, a declaration without a property or value.
std::vector<StyleRule> parse(const QByteArray& bytes);

// The rules written out again, one declaration a line.
QString text(const std::vector<StyleRule>& rules);

// Every length in pixels ("12px") in a value scaled by the factor and
// rounded; text in quotes and in url(...) stays as it is.
QString scaledPixelLengths(const QString& value, double factor);

} // namespace StyleSheet
