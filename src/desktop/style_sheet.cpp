#include "desktop/style_sheet.h"

#include "core/report/failure.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <algorithm>
#include <cmath>

namespace StyleSheet {

namespace {

// Walks the text once, skipping comments and keeping track of the line.
class Reader {
public:
    explicit Reader(const QString& text) : m_text(text) {}

    [[noreturn]] void fail(const QString& what) const {
        throw Failure(QStringLiteral("line %1: %2").arg(m_line).arg(what));
    }

    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar peek() const { return m_text.at(m_pos); }
    QChar take() {
        const QChar c = m_text.at(m_pos++);
        if (c == QLatin1Char('\n')) {
            ++m_line;
        }
        return c;
    }

    // Skips a comment starting here; false when none does.
    bool skipComment() {
        if (peek() != QLatin1Char('/') || m_pos + 1 >= m_text.size() ||
            m_text.at(m_pos + 1) != QLatin1Char('*')) {
            return false;
        }
        const int startLine = m_line;
        take(), take();
        while (!atEnd()) {
            if (take() == QLatin1Char('*') && !atEnd() && peek() == QLatin1Char('/')) {
                take();
                return true;
            }
        }
        m_line = startLine;
        fail(QStringLiteral("a comment is not closed"));
    }

    // Copies a quoted string starting here, quotes included.
    void copyString(QString& out) {
        const QChar quote = take();
        out += quote;
        while (!atEnd()) {
            if (peek() == QLatin1Char('\n')) {
                fail(QStringLiteral("a quoted text runs past the end of its line"));
            }
            const QChar c = take();
            out += c;
            if (c == QLatin1Char('\\') && !atEnd()) {
                out += take();
            } else if (c == quote) {
                return;
            }
        }
        fail(QStringLiteral("a quoted text is not closed"));
    }

    // An address, url(...), whose unquoted text may hold any character but ")".
    bool atAddress() const {
        return (peek() == QLatin1Char('u') || peek() == QLatin1Char('U')) &&
               QStringView(m_text).mid(m_pos, 4).compare(QLatin1String("url("),
                                                         Qt::CaseInsensitive) == 0;
    }
    void copyAddress(QString& out) {
        for (int i = 0; i < 4; ++i) {
            out += take();
        }
        while (!atEnd() && peek() != QLatin1Char(')')) {
            if (peek() == QLatin1Char('"') || peek() == QLatin1Char('\'')) {
                copyString(out);
            } else if (peek() == QLatin1Char('\n')) {
                fail(QStringLiteral("an address url(...) runs past the end of its line"));
            } else {
                out += take();
            }
        }
        if (atEnd()) {
            fail(QStringLiteral("an address url(...) is not closed"));
        }
        out += take();
    }

    // Reads up to (not including) one of the stop characters, outside
    // comments and strings; comments are dropped.
    QString readUntil(const QString& stops) {
        QString out;
        while (!atEnd()) {
            if (skipComment()) {
                out += QLatin1Char(' ');
                continue;
            }
            const QChar c = peek();
            if (stops.contains(c)) {
                break;
            }
            if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
                copyString(out);
            } else if (atAddress()) {
                copyAddress(out);
            } else {
                out += take();
            }
        }
        return out;
    }

private:
    const QString& m_text;
    qsizetype m_pos = 0;
    int m_line = 1;
};

bool validSelector(const QString& selector) {
    static const QString punctuation = QStringLiteral("_-#.:*>+~,[]=|^$!()\"'\\");
    return std::all_of(selector.begin(), selector.end(), [](QChar c) {
        const bool plain = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
                           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
                           (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c.isSpace();
        return plain || punctuation.contains(c);
    });
}

// -?[A-Za-z_][A-Za-z0-9_-]*
bool validProperty(const QString& property) {
    const auto letter = [](QChar c) {
        return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
               (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || c == QLatin1Char('_');
    };
    qsizetype i = property.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (i >= property.size() || !letter(property.at(i))) {
        return false;
    }
    for (++i; i < property.size(); ++i) {
        const QChar c = property.at(i);
        if (!letter(c) && c != QLatin1Char('-') &&
            !(c >= QLatin1Char('0') && c <= QLatin1Char('9'))) {
            return false;
        }
    }
    return true;
}

QString decodeText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        throw Failure(QStringLiteral("it is not text (not UTF-8)"));
    }
    for (const QChar c : std::as_const(text)) {
        const bool control = c.unicode() < 0x20 && c != QLatin1Char('\n') &&
                             c != QLatin1Char('\r') && c != QLatin1Char('\t') &&
                             c != QLatin1Char('\f');
        if (control || c.unicode() == 0x7f) {
            throw Failure(QStringLiteral("it is not text (it holds control characters)"));
        }
    }
    if (text.startsWith(QChar(0xfeff))) {
        text.remove(0, 1);
    }
    return text;
}

void checkBlock(Reader& reader) {
    for (;;) {
        const QString item = reader.readUntil(QStringLiteral(";{}"));
        if (reader.atEnd()) {
            reader.fail(QStringLiteral("a rule is not closed with \"}\""));
        }
        const QChar stop = reader.take();
        if (stop == QLatin1Char('{')) {
            reader.fail(QStringLiteral("a block is nested inside another"));
        }
        const QString declaration = item.trimmed();
        if (!declaration.isEmpty()) {
            const qsizetype colon = declaration.indexOf(QLatin1Char(':'));
            if (colon < 0) {
                reader.fail(QStringLiteral("\"%1\" is not a declaration (property: value)")
                                .arg(declaration.left(40)));
            }
            const QString property = declaration.left(colon).trimmed();
            const QString value = declaration.mid(colon + 1).trimmed();
            if (!validProperty(property) || value.isEmpty()) {
                reader.fail(QStringLiteral("\"%1\" is not a declaration (property: value)")
                                .arg(declaration.left(40)));
            }
        }
        if (stop == QLatin1Char('}')) {
            return;
        }
    }
}

} // namespace

QString checkedText(const QByteArray& bytes) {
    QString text = decodeText(bytes);
    Reader reader(text);
    bool anyRule = false;
    for (;;) {
        const QString selector = reader.readUntil(QStringLiteral("{};@")).trimmed();
        if (reader.atEnd()) {
            if (!selector.isEmpty()) {
                reader.fail(
                    QStringLiteral("\"%1\" is not followed by a block").arg(selector.left(40)));
            }
            break;
        }
        const QChar stop = reader.take();
        if (stop == QLatin1Char('@')) {
            reader.fail(QStringLiteral("at-rules are not supported"));
        }
        if (stop != QLatin1Char('{')) {
            reader.fail(QStringLiteral("\"%1\" stands outside a rule").arg(stop));
        }
        if (selector.isEmpty()) {
            reader.fail(QStringLiteral("a block has no selector"));
        }
        if (!validSelector(selector)) {
            reader.fail(QStringLiteral("\"%1\" is not a selector").arg(selector.left(40)));
        }
        checkBlock(reader);
        anyRule = true;
    }
    if (!anyRule) {
        throw Failure(QStringLiteral("it holds no style rules"));
    }
    return text;
}

QString scaledPixelLengths(const QString& sheet, double factor) {
    static const QRegularExpression length(
        QString::fromLatin1(R"((?<![\w.-])(\d+(?:\.\d+)?|\.\d+)px\b)"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression untouched(
        QString::fromLatin1(R"(/\*[\s\S]*?\*/|"(?:[^"\\]|\\.)*"|'(?:[^'\\]|\\.)*'|url\([^)]*\))"),
        QRegularExpression::CaseInsensitiveOption);

    const auto scale = [&](const QString& part) {
        QString out;
        qsizetype from = 0;
        for (auto it = length.globalMatch(part); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            out += part.mid(from, m.capturedStart() - from);
            const double scaled = std::round(m.captured(1).toDouble() * factor);
            out += QString::number(scaled, 'f', 0) + QStringLiteral("px");
            from = m.capturedEnd();
        }
        return out + part.mid(from);
    };

    QString out;
    qsizetype from = 0;
    for (auto it = untouched.globalMatch(sheet); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += scale(sheet.mid(from, m.capturedStart() - from)) + m.captured();
        from = m.capturedEnd();
    }
    return out + scale(sheet.mid(from));
}

} // namespace StyleSheet
