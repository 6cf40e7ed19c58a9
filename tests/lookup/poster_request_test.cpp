// A poster download: a whole JPEG or PNG image, or a failure naming the
// source; never a credential sent to the image host.
#include "core/lookup/poster_request.h"
#include "lookup/lookup_fixture.h"
#include "support/cover_images.h"

#include <QNetworkAccessManager>
#include <QTemporaryDir>

namespace {

class PosterRequestTest : public LookupTest {
protected:
    PosterReply* download(const QString& path) {
        PosterReply* reply =
            PosterRequest::get(network, limits, server.address(path), QStringLiteral("TMDb"));
        reply->setParent(&network);
        waitFor(reply);
        return reply;
    }

    QNetworkAccessManager network;
};

StandInResponse image(const QByteArray& bytes) {
    return {200, "image/png", bytes, {}, false};
}

TEST_F(PosterRequestTest, GivesAWholeImageOrSaysWhyNot) {
    const QByteArray png = CoverImages::png(2, 3);
    const QByteArray jpeg = CoverImages::jpeg(4, 5);
    struct Case {
        const char* name;
        QList<StandInResponse> answers;
        QString outcome; // the image's format, or the start of the failure
    };
    const QList<Case> cases = {
        {"png", {image(png)}, "png"},
        {"jpeg", {image(jpeg)}, "jpeg"},
        {"retried", {{503, "text/plain", "", {{"Retry-After", "0"}}, false}, image(png)}, "png"},
        {"page",
         {{200, "text/html", "<html>Not here</html>", {}, false}},
         "TMDb: the poster is not an image"},
        {"cut",
         {image(png.left(png.size() - 20))},
         "TMDb: the poster is not a whole image: it is cut short"},
        {"large",
         {image(QByteArray(6 * 1024 * 1024, 'x'))},
         "TMDb: the answer is larger than 5 MB"},
        {"gone", {{404, "text/plain", "", {}, false}}, "TMDb: nothing found at "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = QStringLiteral("/t/p/w342/") + QLatin1String(c.name) + ".img";
        server.route(path, "", c.answers);
        PosterReply* reply = download(path);
        const bool whole = !c.outcome.startsWith("TMDb");
        EXPECT_EQ(whole ? reply->format() : failureOf(*reply).left(c.outcome.size()), c.outcome);
        EXPECT_EQ(reply->bytes(), c.outcome == "png" ? png : c.outcome == "jpeg" ? jpeg : "");
    }
    // Nothing that could be a credential goes to the image host.
    for (const StandInRequest& request : server.requests()) {
        EXPECT_FALSE(request.headers.contains("authorization"));
        EXPECT_FALSE(request.query.contains("api_key"));
    }
}

TEST_F(PosterRequestTest, AWholeImageIsKeptInTheCacheAndWhatIsNoImageIsNot) {
    const QTemporaryDir folder;
    const auto cache = std::make_shared<ResponseCache>(folder.path());
    server.route("/t/p/w92/whole.png", "", {image(CoverImages::png(2, 3))});
    server.route("/t/p/w92/page.png", "", {{200, "text/html", "<html></html>", {}, false}});
    for (const char* name : {"whole", "page"}) {
        SCOPED_TRACE(name);
        const QUrl address = server.address(QStringLiteral("/t/p/w92/%1.png").arg(name));
        const auto before = server.requests().size();
        for (int time = 0; time < 2; ++time) {
            PosterReply* reply = PosterRequest::get(network, limits, address,
                                                    QStringLiteral("TMDb"), &network, cache);
            waitFor(reply);
            EXPECT_EQ(reply->fromCache(), time == 1 && QLatin1String(name) == "whole");
        }
        EXPECT_EQ(server.requests().size() - before, QLatin1String(name) == "whole" ? 1 : 2);
    }
}

TEST_F(PosterRequestTest, RefusesAPlainAddressThatIsNotThisMachine) {
    PosterReply* reply = PosterRequest::get(network, limits, QUrl("http://image.example/p.jpg"),
                                            QStringLiteral("TMDb"), &network);
    waitFor(reply);
    EXPECT_TRUE(failureOf(*reply).startsWith("TMDb: refusing")) << failureOf(*reply).toStdString();
}

} // namespace
