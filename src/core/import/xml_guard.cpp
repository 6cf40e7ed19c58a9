#include "core/import/xml_guard.h"

#include "core/import/import_limits.h"

QString nestingProblem(int maxDepth) {
    return QStringLiteral("elements nested more than %1 deep").arg(maxDepth);
}

QString textRunProblem(qint64 maxToken) {
    return QStringLiteral("a run of text longer than %1").arg(sizeText(maxToken));
}

QString markupProblem(qint64 maxToken) {
    return QStringLiteral("a piece of markup or text longer than %1").arg(sizeText(maxToken));
}

XmlGuard::XmlGuard(QIODevice& source, int maxDepth, qint64 maxToken)
    : m_source(source), m_maxDepth(maxDepth), m_maxToken(maxToken) {
    open(QIODevice::ReadOnly);
}

qint64 XmlGuard::readData(char* data, qint64 maxSize) {
    if (!m_problem.isEmpty()) {
        return -1;
    }
    const qint64 read = m_source.read(data, maxSize);
    for (qint64 i = 0; i < read; ++i) {
        if (!follow(data[i])) {
            return -1;
        }
    }
    return read;
}

bool XmlGuard::startToken(State state) {
    m_state = state;
    m_markupLength = 0;
    return true;
}

bool XmlGuard::follow(char byte) {
    const char previous = m_previous;
    const char beforePrevious = m_beforePrevious;
    m_beforePrevious = m_previous;
    m_previous = byte;
    if (m_state == State::Text) {
        if (byte == '<') {
            return startToken(State::Open);
        }
        if (++m_textLength > m_maxToken) {
            m_problem = textRunProblem(m_maxToken);
            return false;
        }
        return true;
    }
    // Comments, CDATA and processing instructions belong to the run of text
    // around them; tags are markup of their own.
    const bool inText = m_state == State::Comment || m_state == State::CData ||
                        m_state == State::Pi || m_state == State::Bang;
    if (inText ? ++m_textLength > m_maxToken : ++m_markupLength > m_maxToken) {
        m_problem = markupProblem(m_maxToken);
        return false;
    }
    switch (m_state) {
    case State::Open:
        if (byte == '/') {
            m_state = State::EndTag;
        } else if (byte == '!') {
            m_state = State::Bang;
        } else if (byte == '?') {
            m_state = State::Pi;
        } else {
            if (++m_depth > m_maxDepth) {
                m_problem = nestingProblem(m_maxDepth);
                return false;
            }
            m_state = State::StartTag;
            m_textLength = 0;
        }
        break;
    case State::StartTag:
        if (m_quote != 0) {
            m_quote = byte == m_quote ? '\0' : m_quote;
        } else if (byte == '"' || byte == '\'') {
            m_quote = byte;
        } else if (byte == '>') {
            m_depth -= previous == '/' ? 1 : 0;
            m_state = State::Text;
        }
        break;
    case State::EndTag:
        if (byte == '>') {
            --m_depth;
            m_textLength = 0;
            m_state = State::Text;
        }
        break;
    case State::Bang:
        if (byte == '-' && previous == '-') {
            m_state = State::Comment;
            m_previous = 0; // "<!--" does not end the comment it opens
        } else if (byte == '[') {
            m_state = State::CData;
        } else if (byte != '-') {
            m_state = State::Doctype;
            m_doctypeNesting = 1;
            m_markupLength = 0;
            m_textLength = 0;
        }
        break;
    case State::Comment:
        if (byte == '>' && previous == '-' && beforePrevious == '-') {
            m_state = State::Text;
        }
        break;
    case State::CData:
        if (byte == '>' && previous == ']' && beforePrevious == ']') {
            m_state = State::Text;
        }
        break;
    case State::Pi:
        if (byte == '>' && previous == '?') {
            m_state = State::Text;
        }
        break;
    case State::Doctype:
        if (m_quote != 0) {
            m_quote = byte == m_quote ? '\0' : m_quote;
        } else if (byte == '"' || byte == '\'') {
            m_quote = byte;
        } else if (byte == '<') {
            ++m_doctypeNesting;
        } else if (byte == '>' && --m_doctypeNesting == 0) {
            m_state = State::Text;
        }
        break;
    case State::Text:
        break;
    }
    return true;
}
