#include "PortalScreenshot.h"

#include <QUrl>

PortalScreenshot::PortalScreenshot(const QDBusConnection &connection, std::chrono::milliseconds timeout,
                                   QObject *parent)
    : QObject(parent), m_request(connection, timeout)
{
    connect(&m_request, &PortalRequest::answered, this, &PortalScreenshot::handleAnswer);
    connect(&m_request, &PortalRequest::failed, this, [this] { emit finished(Outcome::failed, QString()); });
}

void PortalScreenshot::take(bool interactive)
{
    const QVariantMap options{{QStringLiteral("interactive"), interactive}, {QStringLiteral("modal"), true}};
    m_request.start(QStringLiteral("org.freedesktop.portal.Screenshot"), QStringLiteral("Screenshot"), {QString()},
                    options);
}

void PortalScreenshot::cancel()
{
    if (!isPending())
        return;
    m_request.close();
    emit finished(Outcome::cancelled, QString());
}

void PortalScreenshot::handleAnswer(uint response, const QVariantMap &results)
{
    switch (response) {
    case 0: {
        const QUrl uri(results.value(QStringLiteral("uri")).toString());
        if (uri.isLocalFile() && !uri.toLocalFile().isEmpty())
            return emit finished(Outcome::saved, uri.toLocalFile());
        return emit finished(Outcome::failed, QString());
    }
    case 1:
        return emit finished(Outcome::cancelled, QString());
    case 2:
        return emit finished(Outcome::denied, QString());
    default:
        return emit finished(Outcome::failed, QString());
    }
}
