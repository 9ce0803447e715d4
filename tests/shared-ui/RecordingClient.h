#pragma once

#include "MoxterClient.h"

#include <QList>
#include <QPromise>

#include <memory>

// A client that sends nothing and remembers what it was asked to do, in order.
// Feedback waits until the test settles it.
class RecordingClient : public MoxterClient {
public:
    struct Consent {
        bool consent;
        std::optional<QString> installation;
        bool location;
    };
    struct Report {
        QString message;
        bool bug;
        std::shared_ptr<QPromise<bool>> reply;
    };
    RecordingClient() : MoxterClient(std::nullopt, AppSignalContext{}) {}
    void setConsent(bool consent, const std::optional<QString> &installationID, bool location) override
    {
        consents.append({consent, installationID, location});
        calls << (consent ? QStringLiteral("consent") : QStringLiteral("withdraw"));
    }
    void event(TavimoEvent event) override
    {
        events << event;
        calls << rawValue(event);
    }
    QFuture<bool> feedback(const QString &message, bool bug) override
    {
        auto reply = std::make_shared<QPromise<bool>>();
        reply->start();
        reports.append({message, bug, reply});
        return reply->future();
    }
    void settleLastReport(bool accepted)
    {
        reports.last().reply->addResult(accepted);
        reports.last().reply->finish();
    }
    QList<Consent> consents;
    QList<TavimoEvent> events;
    QStringList calls;
    QList<Report> reports;
};
