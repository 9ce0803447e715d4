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
    const QUrl uri(results.value(QStringLiteral("uri")).toString());
    if (response == 0 && uri.isLocalFile() && !uri.toLocalFile().isEmpty())
        emit finished(Outcome::saved, uri.toLocalFile());
    else if (response == 1)
        emit finished(Outcome::cancelled, QString());
    else if (response == 2)
        emit finished(Outcome::denied, QString());
    else
        emit finished(Outcome::failed, QString());
}
