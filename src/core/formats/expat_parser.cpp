#include "core/formats/expat_parser.h"

#include <cstring>
#include <expat.h>
#include <new>

namespace {

// A document type with entities of its own is refused before they are read:
// expanding them could take any memory and time (nested entities), or
// reach outside the document (external ones).
constexpr const char* kDeclaresEntities =
    "it declares entities of its own, which this program does not read";
constexpr const char* kUnknownEntity =
    "it refers to an entity it does not declare, which this program does not read";

// The name after its prefix: "x:row" is "row". One pass, as it runs for
// every element and attribute of a large part.
std::string_view localName(const XML_Char* name) {
    const char* local = name;
    const char* at = name;
    for (; *at != '\0'; ++at) {
        if (*at == ':') {
            local = at + 1;
        }
    }
    return {local, std::size_t(at - local)};
}

} // namespace

QByteArrayView XmlAttributes::value(std::string_view wanted) const {
    for (const char** pair = m_pairs; pair[0] != nullptr; pair += 2) {
        if (localName(pair[0]) == wanted) {
            return {pair[1]};
        }
    }
    return {};
}

// The parser's callbacks: each hands the event to the handler, unless the
// parsing has been stopped, and keeps what the handler throws from passing
// through the C library.
struct ExpatParser::Callbacks {
    template <typename Call> static void deliver(void* data, Call call) {
        auto* self = static_cast<ExpatParser*>(data);
        if (self->m_stopped) {
            return; // an event expat delivers after the stop
        }
        try {
            call(self->m_handler);
        } catch (...) {
            self->m_thrown = std::current_exception();
            self->stop();
        }
    }

    static void start(void* data, const XML_Char* name, const XML_Char** attributes) {
        deliver(data, [&](XmlHandler& handler) {
            handler.startElement(localName(name), XmlAttributes(attributes));
        });
    }
    static void end(void* data, const XML_Char* name) {
        deliver(data, [&](XmlHandler& handler) { handler.endElement(localName(name)); });
    }
    static void text(void* data, const XML_Char* text, int length) {
        deliver(data, [&](XmlHandler& handler) {
            handler.text(std::string_view(text, std::size_t(length)));
        });
    }
    static void comment(void* data, const XML_Char* text) {
        deliver(data, [&](XmlHandler& handler) { handler.otherMarkup(qint64(std::strlen(text))); });
    }
    static void instruction(void* data, const XML_Char* target, const XML_Char* text) {
        deliver(data, [&](XmlHandler& handler) {
            handler.otherMarkup(qint64(std::strlen(target)) + qint64(std::strlen(text)));
        });
    }
    static void doctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*,
                        int hasInternalSubset) {
        if (hasInternalSubset != 0) {
            static_cast<ExpatParser*>(data)->refuse(kDeclaresEntities);
        }
    }
    static void entity(void* data, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                       const XML_Char*, const XML_Char*, const XML_Char*) {
        static_cast<ExpatParser*>(data)->refuse(kDeclaresEntities);
    }
    static void skippedEntity(void* data, const XML_Char*, int) {
        static_cast<ExpatParser*>(data)->refuse(kUnknownEntity);
    }
};

void ExpatParser::ParserDeleter::operator()(XML_ParserStruct* parser) const {
    XML_ParserFree(parser);
}

ExpatParser::ExpatParser(XmlHandler& handler)
    : m_parser(XML_ParserCreate(nullptr)), m_handler(handler) {
    if (!m_parser) {
        throw std::bad_alloc();
    }
    XML_Parser parser = m_parser.get();
    XML_SetUserData(parser, this);
    XML_SetElementHandler(parser, Callbacks::start, Callbacks::end);
    XML_SetCharacterDataHandler(parser, Callbacks::text);
    XML_SetCommentHandler(parser, Callbacks::comment);
    XML_SetProcessingInstructionHandler(parser, Callbacks::instruction);
    XML_SetStartDoctypeDeclHandler(parser, Callbacks::doctype);
    XML_SetEntityDeclHandler(parser, Callbacks::entity);
    XML_SetSkippedEntityHandler(parser, Callbacks::skippedEntity);
    XML_SetParamEntityParsing(parser, XML_PARAM_ENTITY_PARSING_NEVER);
}

ExpatParser::~ExpatParser() = default;

ExpatParser::Progress ExpatParser::parse(QByteArrayView piece, bool last) {
    m_given += piece.size();
    m_last = last;
    return finish(XML_Parse(m_parser.get(), piece.data(), int(piece.size()), last ? 1 : 0));
}

ExpatParser::Progress ExpatParser::resume() {
    m_paused = false;
    return finish(XML_ResumeParser(m_parser.get()));
}

ExpatParser::Progress ExpatParser::finish(int status) {
    if (m_thrown) {
        std::rethrow_exception(std::exchange(m_thrown, nullptr));
    }
    XML_Parser parser = m_parser.get();
    if (status == XML_STATUS_SUSPENDED) {
        m_paused = true;
        return Progress::Paused;
    }
    if (status == XML_STATUS_ERROR || m_stopped) {
        m_errorText = m_refusal != nullptr
                          ? QString::fromUtf8(m_refusal)
                          : QString::fromUtf8(XML_ErrorString(XML_GetErrorCode(parser)));
        m_errorLine = qint64(XML_GetCurrentLineNumber(parser));
        m_errorColumn = qint64(XML_GetCurrentColumnNumber(parser)) + 1;
        return Progress::Failed;
    }
    return m_last ? Progress::Finished : Progress::NeedsInput;
}

void ExpatParser::pause() {
    XML_StopParser(m_parser.get(), XML_TRUE);
}

void ExpatParser::stop() {
    m_stopped = true;
    XML_StopParser(m_parser.get(), XML_FALSE);
}

void ExpatParser::refuse(const char* reason) {
    if (!m_stopped) {
        m_refusal = reason;
        stop();
    }
}

qint64 ExpatParser::eventBytes() const {
    return qint64(XML_GetCurrentByteCount(m_parser.get()));
}

qint64 ExpatParser::unparsedBytes() const {
    const auto parsed = qint64(XML_GetCurrentByteIndex(m_parser.get()));
    return parsed < 0 ? 0 : m_given - parsed;
}

QString ExpatParser::errorText() const {
    return m_errorText;
}
