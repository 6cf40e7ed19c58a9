#pragma once

#include <QIODevice>
#include <QString>

// Passes the bytes of an XML part through to the XML reader while following
// its markup, and stops them (the reader then sees the part end early) at
// the first sign of a part built to exhaust memory: elements nested deeper
// than `maxDepth`, or a run of text, or a single piece of markup, longer than
// `maxToken` bytes. Comments, CDATA sections and processing instructions
// count as part of the text around them, so text split by them is bounded
// as a whole.
class XmlGuard : public QIODevice {
public:
    XmlGuard(QIODevice& source, int maxDepth, qint64 maxToken);

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override {
        return QIODevice::bytesAvailable() + (m_problem.isEmpty() ? m_source.bytesAvailable() : 0);
    }
    // What stopped the bytes, "" while nothing has.
    const QString& problem() const { return m_problem; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    enum class State {
        Text,
        Open,     // after '<'
        StartTag, // <name ...
        EndTag,   // </name ...
        Bang,     // after "<!"
        Comment,  // <!-- ... -->
        CData,    // <![CDATA[ ... ]]>
        Doctype,  // <!DOCTYPE ... >, with its internal subset
        Pi,       // <? ... ?>
    };
    // Follows one byte; false when a cap is hit.
    bool follow(char byte);
    bool startToken(State state);

    QIODevice& m_source;
    int m_maxDepth;
    qint64 m_maxToken;
    State m_state = State::Text;
    int m_depth = 0;
    qint64 m_textLength = 0;   // bytes of the current run of text
    qint64 m_markupLength = 0; // bytes of the current piece of markup
    char m_quote = 0;          // the quote an attribute value is in, else 0
    char m_previous = 0;
    char m_beforePrevious = 0;
    int m_doctypeNesting = 0;
    QString m_problem;
};

// What a cap on a part's XML says when it is hit, for every reader of parts.
QString nestingProblem(int maxDepth);
QString textRunProblem(qint64 maxToken);
QString markupProblem(qint64 maxToken);
