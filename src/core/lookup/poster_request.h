#pragma once

#include "core/lookup/lookup_reply.h"
#include "core/lookup/network_rules.h"
#include "core/lookup/response_cache.h"

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <memory>

class QNetworkAccessManager;

// A poster being downloaded: finished() comes later, from the event loop,
// as with every lookup; then it holds either the image or the failure
// (failure(), naming the source). The caller deletes it; deleting it or
// calling abort() stops the download.
class PosterReply : public LookupReply {
    Q_OBJECT
public:
    using LookupReply::LookupReply;

    // The encoded image, a whole JPEG or PNG file, once finished without failure.
    const QByteArray& bytes() const { return m_bytes; }
    // "jpeg" or "png".
    const QString& format() const { return m_format; }

    void finishWithImage(QByteArray bytes, QString format);

private:
    QByteArray m_bytes;
    QString m_format;
};

namespace PosterRequest {

// Downloads the poster at `address` (as a source gave it in
// LookupMovie::posterUrl) under the same rules as every lookup request: the
// address checked, a deadline, a size limit, retries after 429 and 5xx. No
// credentials go with it: the image host is not the source's API. Bytes
// that are not a whole JPEG or PNG image fail the reply ("TMDb: the poster
// is not an image"). `source` is the name failures start with. With a
// cache, a whole image kept there answers at once and a new one is kept.
PosterReply* get(QNetworkAccessManager& network, const NetworkLimits& limits, const QUrl& address,
                 const QString& source, QObject* parent = nullptr,
                 std::shared_ptr<ResponseCache> cache = {});

} // namespace PosterRequest
