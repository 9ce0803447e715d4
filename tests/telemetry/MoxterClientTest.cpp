#include "MoxterClient.h"
#include "LoopbackHttpsServer.h"

#include <QDateTime>
#include <QFuture>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace std::chrono_literals;

namespace {

const AppSignalContext testContext{"local.tavimo.capture", "0.4.0+57", "6.1.0", "x86_64", "up_to_16GB"};
const QString emoji = QString::fromUtf8("\xF0\x9F\x90\x9B");

template <typename T> T awaitResult(const QFuture<T> &future)
{
    EXPECT_TRUE(QTest::qWaitFor([&] { return future.isFinished(); }, 20000));
    return future.result();
}

QStringList eventNames(const QList<ReceivedRequest> &requests)
{
    QStringList names;
    for (const ReceivedRequest &request : requests)
        names << request.json()["name"].toString();
    return names;
}

// Whole seconds in UTC, written "2026-01-31T12:00:00Z", close to now.
void expectRecentTimestamp(const QJsonValue &value)
{
    const QString text = value.toString();
    EXPECT_TRUE(QDateTime::fromString(text, "yyyy-MM-dd'T'HH:mm:ss'Z'").isValid()) << text.toStdString();
    EXPECT_LE(std::abs(QDateTime::fromString(text, Qt::ISODate).secsTo(QDateTime::currentDateTimeUtc())), 60);
}

class MoxterClientTest : public testing::Test {
protected:
    LoopbackHttpsServer server;
    std::unique_ptr<MoxterClient> makeClient(std::chrono::milliseconds timeout = 10s,
                                             const std::optional<QSslConfiguration> &tls = std::nullopt)
    {
        return std::make_unique<MoxterClient>(
            MoxterConfiguration::make(server.url().toString(), "secret-key"), testContext,
            MoxterClient::Session{timeout, timeout, tls.value_or(server.clientTls())});
    }
    // A client whose first event is under way and held by the server.
    std::unique_ptr<MoxterClient> makeClientWithEventInFlight(std::chrono::milliseconds timeout = 10s)
    {
        server.setHolding(true);
        auto client = makeClient(timeout);
        client->setConsent(true, "OLD", true);
        client->event(TavimoEvent::appOpened);
        EXPECT_TRUE(server.waitForRequests(1));
        return client;
    }
};

TEST_F(MoxterClientTest, AnEventTravelsAsOneCompactJsonPost)
{
    auto client = makeClient();
    client->setConsent(true, "C0FFEE00-0000-4000-8000-000000000001", true);
    client->event(TavimoEvent::captureArea);
    ASSERT_TRUE(server.waitForRequests(1));
    const ReceivedRequest &request = server.requests().first();
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.path, "/v1/events");
    EXPECT_EQ(request.headers.value("authorization"), "Bearer secret-key");
    EXPECT_EQ(request.headers.value("content-type"), "application/json");
    EXPECT_FALSE(request.body.contains('\n') || request.body.contains(": "));
    const QJsonObject body = request.json();
    EXPECT_EQ(body.keys(), QStringList({"metadata", "name", "properties", "release", "source", "timestamp"}));
    EXPECT_EQ(QStringList({body["name"].toString(), body["source"].toString(), body["release"].toString()}),
              QStringList({"capture.area", "local.tavimo.capture", "0.4.0+57"}));
    EXPECT_EQ(body["properties"], QJsonValue(QJsonObject()));
    expectRecentTimestamp(body["timestamp"]);
    QJsonObject metadata = testContext.metadata();
    metadata.insert("installation_id", "C0FFEE00-0000-4000-8000-000000000001");
    metadata.insert("location_opt_in", true);
    EXPECT_EQ(body["metadata"].toObject(), metadata);
}

TEST_F(MoxterClientTest, FeedbackIsTrimmedCategorisedAndCarriesNoIdentifier)
{
    auto client = makeClient();
    client->setConsent(true, "ID", true);
    EXPECT_TRUE(awaitResult(client->feedback("  \n The pen lags.\t\n", true)));
    client->setConsent(false, std::nullopt, false);
    EXPECT_TRUE(awaitResult(client->feedback("More colours", false))) << "feedback needs no consent";
    ASSERT_EQ(server.requests().size(), 2);
    EXPECT_EQ(server.requests()[0].path, "/v1/feedback");
    const QJsonObject body = server.requests()[0].json();
    EXPECT_EQ(body.keys(), QStringList({"category", "message", "metadata", "release", "source", "timestamp"}));
    EXPECT_EQ(body["message"].toString(), "The pen lags.");
    EXPECT_EQ(body["category"].toString(), "bug");
    EXPECT_EQ(body["metadata"].toObject(), testContext.metadata()) << "no installation_id, no location";
    expectRecentTimestamp(body["timestamp"]);
    EXPECT_EQ(server.requests()[1].json()["category"].toString(), "feedback");
}

TEST_F(MoxterClientTest, FeedbackOutsideTheLimitsIsRefusedWithoutARequest)
{
    auto client = makeClient();
    for (const QString &refused : {QString(" \n\t  "), QString(2001, 'a'), emoji.repeated(1000) + "a"})
        EXPECT_FALSE(awaitResult(client->feedback(refused, false))) << refused.size();
    EXPECT_TRUE(server.requests().isEmpty());
    EXPECT_TRUE(awaitResult(client->feedback(QString(2000, 'a'), false)));
    EXPECT_TRUE(awaitResult(client->feedback("  " + emoji.repeated(1000) + "  ", true)));
    ASSERT_EQ(server.requests().size(), 2);
    EXPECT_EQ(server.requests()[1].json()["message"].toString(), emoji.repeated(1000));
}

TEST_F(MoxterClientTest, OnlyA2xxStatusFromTheTrustedServerCountsAsAccepted)
{
    auto client = makeClient();
    for (const auto &[status, accepted] : {std::pair{204, true}, {200, true}, {301, false}, {500, false}}) {
        server.setFallback({status, {}, server.url("/moved").toEncoded(), -1});
        EXPECT_EQ(awaitResult(client->feedback("hello", false)), accepted) << status;
    }
    EXPECT_EQ(server.requests().size(), 4) << "a redirect is not followed";
    auto untrusting = makeClient(5s, QSslConfiguration::defaultConfiguration());
    EXPECT_FALSE(awaitResult(untrusting->feedback("hello", false)));
    EXPECT_EQ(server.requests().size(), 4);
}

TEST_F(MoxterClientTest, EventsGoOneAtATimeInOrderWithoutCookies)
{
    server.setReplyDelay(40);
    auto client = makeClient();
    client->setConsent(true, "ID", true);
    QStringList expected;
    for (const TavimoEvent event : {TavimoEvent::appOpened, TavimoEvent::captureArea, TavimoEvent::captureOCR,
                                    TavimoEvent::captureEditor, TavimoEvent::captureExport}) {
        client->event(event);
        expected << rawValue(event);
    }
    ASSERT_TRUE(server.waitForRequests(expected.size()));
    EXPECT_EQ(eventNames(server.requests()), expected);
    EXPECT_EQ(server.mostConcurrent(), 1);
    EXPECT_EQ(awaitResult(client->pendingCount()), 0);
    for (const ReceivedRequest &request : server.requests())
        EXPECT_FALSE(request.headers.contains("cookie")) << "cookies the service sets are not kept";
}

TEST_F(MoxterClientTest, ADeadServerDoesNotStopEventsQueueing)
{
    auto client = makeClientWithEventInFlight(400ms);
    client->event(TavimoEvent::captureArea);
    client->event(TavimoEvent::captureScreen);
    EXPECT_EQ(awaitResult(client->pendingCount()), 2);
    ASSERT_TRUE(server.waitForRequests(2)) << "the stuck request times out and the next one goes";
    EXPECT_EQ(eventNames(server.requests()), QStringList({"app.opened", "capture.area"}));
}

TEST_F(MoxterClientTest, TheQueueKeepsTheNewest64)
{
    auto client = makeClientWithEventInFlight();
    for (int index = 0; index < 64; ++index)
        client->event(TavimoEvent::captureArea);
    client->event(TavimoEvent::captureExport);
    EXPECT_EQ(awaitResult(client->pendingCount()), 64);
    server.releaseHeld();
    ASSERT_TRUE(server.waitForRequests(65));
    const QStringList names = eventNames(server.requests());
    EXPECT_EQ(names.count("capture.area"), 63);
    EXPECT_EQ(names.last(), "capture.export");
}

TEST_F(MoxterClientTest, WithdrawingConsentDropsThePendingAndStopsAfterTheCurrentRequest)
{
    auto client = makeClientWithEventInFlight();
    client->event(TavimoEvent::captureArea);
    client->event(TavimoEvent::captureScreen);
    client->setConsent(false, std::nullopt, true);
    EXPECT_EQ(awaitResult(client->pendingCount()), 0);
    client->event(TavimoEvent::captureOCR);
    EXPECT_EQ(awaitResult(client->pendingCount()), 0) << "nothing is recorded without consent";
    client->setConsent(true, "NEW", false);
    client->event(TavimoEvent::captureEditor);
    server.releaseHeld();
    ASSERT_TRUE(server.waitForRequests(2));
    EXPECT_EQ(eventNames(server.requests()), QStringList({"app.opened", "capture.editor"}));
    const QJsonObject metadata = server.requests()[1].json()["metadata"].toObject();
    EXPECT_EQ(metadata["installation_id"].toString(), "NEW");
    EXPECT_EQ(metadata["location_opt_in"], QJsonValue(false));
    EXPECT_EQ(server.mostConcurrent(), 1);
}

TEST_F(MoxterClientTest, NothingIsRecordedWithoutIdentifierOrConfiguration)
{
    auto client = makeClient();
    client->setConsent(true, std::nullopt, true);
    client->event(TavimoEvent::appOpened);
    EXPECT_EQ(awaitResult(client->pendingCount()), 0);
    MoxterClient unconfigured(std::nullopt, testContext);
    unconfigured.setConsent(true, "ID", true);
    unconfigured.event(TavimoEvent::appOpened);
    EXPECT_EQ(awaitResult(unconfigured.pendingCount()), 0);
    EXPECT_FALSE(awaitResult(unconfigured.feedback("hello", false)));
    EXPECT_TRUE(server.requests().isEmpty());
}

} // namespace
