// A request's answer is parsed and turned into what the lookup finishes
// with on the thread pool; only the finishing runs on the caller's thread.
#include "core/lookup/json_request.h"
#include "lookup/lookup_fixture.h"

#include <QNetworkAccessManager>
#include <QThread>

namespace {

TEST_F(LookupTest, TheAnswerIsConvertedOnThePoolAndFinishedOnTheCallersThread) {
    server.route("/films", "", {{200, "application/json", R"({"results": []})", {}, false}});
    QNetworkAccessManager network;
    auto* reply = new LookupReply(QStringLiteral("Test"), &network);
    QThread* convertedOn = nullptr;
    QThread* finishedOn = nullptr;
    JsonRequest::start(network, limits, server.address("/films"), reply,
                       [&convertedOn, &finishedOn, reply](const QJsonDocument&) {
                           convertedOn = QThread::currentThread();
                           return std::function<void()>([&finishedOn, reply] {
                               finishedOn = QThread::currentThread();
                               reply->finishWith(QList<LookupCandidate>{});
                           });
                       });
    waitFor(reply);
    EXPECT_NE(convertedOn, nullptr);
    EXPECT_NE(convertedOn, QThread::currentThread());
    EXPECT_EQ(finishedOn, QThread::currentThread());
}

} // namespace
