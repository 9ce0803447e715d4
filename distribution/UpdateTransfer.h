#pragma once

#include <QObject>
#include <QPointer>
#include <QUrl>

#include <optional>

class QIODevice;
class QNetworkAccessManager;
class QNetworkReply;
class QSslConfiguration;

// One HTTPS download into a device, refused as soon as it grows beyond a
// limit. Redirects are followed only to HTTPS. Emits `finished` once, then
// deletes itself.
class UpdateTransfer : public QObject {
    Q_OBJECT

public:
    enum class Outcome {
        completed,
        failed,
        tooLarge,
        notWritten,
    };
    Q_ENUM(Outcome)

    UpdateTransfer(QNetworkAccessManager &network, const QUrl &url, const QSslConfiguration &ssl, QIODevice &sink,
                   qint64 limit, QObject *parent = nullptr);
    ~UpdateTransfer() override;

signals:
    void finished(UpdateTransfer::Outcome outcome);

private:
    void checkAnnouncedSize();
    void writeAvailable();
    void stop(Outcome outcome);
    void replyFinished();
    bool succeeded() const;

    QPointer<QNetworkReply> m_reply;
    QIODevice &m_sink;
    qint64 m_limit;
    qint64 m_written = 0;
    std::optional<Outcome> m_stopped;
};
