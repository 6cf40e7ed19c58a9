#pragma once

#include <QByteArrayView>
#include <QString>
#include <exception>
#include <memory>
#include <string_view>

struct XML_ParserStruct;

// The attributes of one element, as the parser hands them to a handler:
// valid only during that call.
class XmlAttributes {
public:
    explicit XmlAttributes(const char** pairs) : m_pairs(pairs) {}

    // The value of the attribute whose local name is `wanted`, whatever its
    // prefix; empty when there is none.
    QByteArrayView value(std::string_view wanted) const;

private:
    const char** m_pairs; // name, value, name, value ..., null
};

// What the parser finds in a document, in order. Names are local names:
// the parser resolves no namespaces ("x:row" comes as "row"), as the
// readers of workbook parts find elements by their local names alone. The
// texts are UTF-8 and valid only during the call. A handler may throw; the
// parsing then stops and the exception comes out of ExpatParser::parse() or
// resume().
class XmlHandler {
public:
    virtual ~XmlHandler() = default;

    virtual void startElement(std::string_view name, const XmlAttributes& attributes) = 0;
    virtual void endElement(std::string_view name) = 0;
    // Character data; one run of text may come in several pieces.
    virtual void text(std::string_view text) = 0;
    // A comment or processing instruction holding that many bytes.
    virtual void otherMarkup(qint64 /*bytes*/) {}
};

// A streaming XML parser (libexpat) fed a document piece by piece. It reads
// no external entities, and refuses a document that declares entities of its
// own (a document type with an internal subset, an entity declaration) or
// refers to one it cannot expand: only the five predefined entities and
// character references are expanded.
class ExpatParser {
public:
    explicit ExpatParser(XmlHandler& handler);
    ~ExpatParser();
    ExpatParser(const ExpatParser&) = delete;
    ExpatParser& operator=(const ExpatParser&) = delete;

    enum class Progress {
        NeedsInput, // the piece is parsed: give the next one
        Paused,     // a handler paused the parsing: resume() carries on
        Finished,   // the last piece is parsed and the document is complete
        Failed,     // the document is not well-formed, or was refused
    };

    // Parses the next piece of the document (it may end inside a token or a
    // character); `last` when none follows. Not while paused.
    Progress parse(QByteArrayView piece, bool last);
    // Carries on after a pause with the rest of the piece.
    Progress resume();
    bool paused() const { return m_paused; }

    // From within a handler: stop after this event (parse() or resume()
    // returns Paused).
    void pause();
    // From within a handler: stop for good (the parsing has Failed).
    void stop();
    // From within a handler: the bytes of the document the current event spans.
    qint64 eventBytes() const;

    // The bytes given to parse() that the parser holds as the start of an
    // unfinished token.
    qint64 unparsedBytes() const;

    // Why the parsing failed, and where (1-based line and column).
    QString errorText() const;
    qint64 errorLine() const { return m_errorLine; }
    qint64 errorColumn() const { return m_errorColumn; }

private:
    struct Callbacks;
    struct ParserDeleter {
        void operator()(XML_ParserStruct* parser) const;
    };

    Progress finish(int status);
    void refuse(const char* reason);

    std::unique_ptr<XML_ParserStruct, ParserDeleter> m_parser;
    XmlHandler& m_handler;
    qint64 m_given = 0; // bytes given to parse() so far
    bool m_last = false;
    bool m_paused = false;
    bool m_stopped = false;
    std::exception_ptr m_thrown;
    const char* m_refusal = nullptr;
    QString m_errorText;
    qint64 m_errorLine = 0;
    qint64 m_errorColumn = 0;
};
