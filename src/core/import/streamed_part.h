#pragma once

#include "core/formats/expat_parser.h"
#include "core/formats/zip_archive.h"
#include "core/import/import_failure.h"
#include "core/import/import_limits.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <memory>

// A large part of a workbook (a sheet, the shared texts, an OpenDocument
// content) read as XML: its bytes go from the zip stream to the parser a
// chunk at a time, never unpacked whole, and the parser's events go to the
// reader's handler. The caps of `limits` hold: a part built to exhaust
// memory (elements nested deeper than xmlDepth, a run of text or a single
// piece of markup longer than valueBytes, more unpacked bytes than its cap)
// stops the reading.
class StreamedPart : private XmlHandler {
public:
    StreamedPart(ZipArchive& archive, const QString& name, UnpackBudget& budget, qint64 partCap,
                 const ImportLimits& limits, XmlHandler& reader);
    ~StreamedPart() override;
    StreamedPart(const StreamedPart&) = delete;
    StreamedPart& operator=(const StreamedPart&) = delete;

    // Reads on until the reader pauses (true) or the part ends (false, also
    // when the reading failed: check() tells). Rethrows what the reader threw.
    bool advance();
    // From within the reader's handler: advance() returns after this event.
    void pause() { m_parser.pause(); }

    qint64 bytesRead() const;
    // Fails when the XML is damaged or a cap was hit; `where` adds a place to
    // the message ("after row 12").
    void check(const QString& where = {}) const;

private:
    void startElement(std::string_view name, const XmlAttributes& attributes) override;
    void endElement(std::string_view name) override;
    void text(std::string_view text) override;
    void otherMarkup(qint64 bytes) override;
    void stopFor(const QString& problem);

    QString m_name;
    qint64 m_partCap;
    ImportLimits m_limits;
    XmlHandler& m_reader;
    std::unique_ptr<QIODevice> m_device;
    ExpatParser m_parser;
    QByteArray m_chunk;
    bool m_ended = false;
    bool m_readFailed = false;
    bool m_parseFailed = false;
    int m_depth = 0;
    qint64 m_textRun = 0; // bytes of text, comments ... since the last tag
    QString m_problem;    // the cap that stopped the reading, "" while none has
};

// The part's unpacked bytes as a stream that stops at `partCap` or the
// budget (ZipArchive::openPart); fails (ImportFailure) when it cannot be opened.
std::unique_ptr<QIODevice> openWorkbookPart(ZipArchive& archive, const QString& name,
                                            UnpackBudget& budget, qint64 partCap);

// The failures of reading a part's XML, for every reader of parts.
ImportFailure xmlCapFailure(const QString& part, const QString& problem);
ImportFailure partSizeFailure(const QString& part, qint64 cap);
// A part whose recorded size is over the cap, refused before it is read;
// `what` names it as a person knows it ("The workbook's sheet").
ImportFailure unpackedSizeFailure(const QString& what, qint64 size, qint64 cap);
ImportFailure damagedPartFailure(const QString& part, const QString& where, qint64 line,
                                 qint64 column, const QString& error);
