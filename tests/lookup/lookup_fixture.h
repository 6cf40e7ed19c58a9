#pragma once

#include "core/lookup/lookup_reply.h"
#include "core/lookup/network_rules.h"
#include "support/qt_printers.h"
#include "support/stand_in_http_server.h"

#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

// The Wikidata source pointed at a stand-in server on 127.0.0.1, with a
// short deadline and short waits between retries.
class LookupTest : public ::testing::Test {
protected:
    static StandInResponse fixture(const char* name) {
        return StandInResponse::file(QStringLiteral(RK_LOOKUP_FIXTURES "/") + QLatin1String(name));
    }

    // Runs the event loop until the reply finishes (a few seconds at most).
    static void waitFor(LookupReply* reply) {
        QEventLoop loop;
        QObject::connect(reply, &LookupReply::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        if (!reply->isFinished())
            loop.exec();
        ASSERT_TRUE(reply->isFinished());
    }

    static QString failureOf(const LookupReply& reply) {
        return reply.failure() ? reply.failure()->description() : QString();
    }

    NetworkLimits limits{500, 5 * 1024 * 1024, 2, 10, 50};
    StandInHttpServer server;
    WikidataAtStandIn addresses{server};
};
