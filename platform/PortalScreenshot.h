#pragma once

#include "PortalRequest.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <chrono>

// Screenshots through the desktop's Screenshot portal: the desktop takes the
// picture (interactively with its own selection, or of the whole desktop),
// asks the user's permission where it wants to, and saves a file for us.
class PortalScreenshot : public QObject {
    Q_OBJECT

public:
    enum class Outcome {
        // `file` is the local file the desktop wrote.
        saved,
        cancelled,
        denied,
        // No portal, no answer in time, or no local file.
        failed,
    };
    Q_ENUM(Outcome)

    explicit PortalScreenshot(const QDBusConnection &connection,
                              std::chrono::milliseconds timeout = PortalRequest::defaultTimeout,
                              QObject *parent = nullptr);

    // Asks for one screenshot; `finished` follows exactly once.
    void take(bool interactive);
    // Withdraws a pending request; `finished` reports `cancelled` at once.
    void cancel();
    bool isPending() const { return m_request.isPending(); }

signals:
    void finished(PortalScreenshot::Outcome outcome, const QString &file);

private:
    void handleAnswer(uint response, const QVariantMap &results);

    PortalRequest m_request;
};
