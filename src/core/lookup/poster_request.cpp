#include "core/lookup/poster_request.h"

#include "core/covers/image_check.h"
#include "core/covers/image_header.h"
#include "core/lookup/json_request.h"

namespace {

const QString kNotAnImage = QStringLiteral("the poster is not an image");
const QString kCutShort = QStringLiteral("the poster is not a whole image: it is cut short");
const QString kDamaged = QStringLiteral("the poster is not a whole image: %1");

// Why the bytes cannot be a cover ("" when they can), and their format.
std::pair<QString, QString> imageProblem(const QByteArray& bytes) {
    const std::optional<ImageHeader> header = readImageHeader(bytes);
    if (!header) {
        return {kNotAnImage, {}};
    }
    if (!imageLooksComplete(bytes, header->format)) {
        return {kCutShort, header->format};
    }
    if (const QString problem = imageDataProblem(bytes, header->format); !problem.isEmpty()) {
        return {kDamaged.arg(problem), header->format};
    }
    return {{}, header->format};
}

} // namespace

void PosterReply::finishWithImage(QByteArray bytes, QString format) {
    if (begin()) {
        m_bytes = std::move(bytes);
        m_format = std::move(format);
    }
}

PosterReply* PosterRequest::get(QNetworkAccessManager& network, const NetworkLimits& limits,
                                const QUrl& address, const QString& source, QObject* parent,
                                std::shared_ptr<ResponseCache> cache) {
    auto* reply = new PosterReply(source, parent);
    JsonRequest::Extras extras;
    extras.headers.append(
        {QByteArrayLiteral("Accept"), QByteArrayLiteral("image/jpeg, image/png")});
    extras.body = [reply](const QByteArray& bytes) {
        const auto [problem, format] = imageProblem(bytes);
        if (problem.isEmpty()) {
            reply->finishWithImage(bytes, format);
        } else {
            reply->fail(problem);
        }
    };
    extras.cache = std::move(cache);
    JsonRequest::start(network, limits, address, reply, {}, std::move(extras));
    return reply;
}
