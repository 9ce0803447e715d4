#pragma once

#include "CaptureDelivery.h"
#include "CaptureDisplayImage.h"
#include "CaptureMode.h"
#include "TavimoEvent.h"

#include <QByteArray>
#include <QFuture>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class CaptureBoard;
class CaptureClipboard;
class CapturePreferences;
class CaptureService;
class CaptureSessionHost;
class CaptureThumbnail;
class CaptureWorkspace;
class UserDefaults;

// One capture from request to delivered image: hides the app's windows,
// waits for focus and released keys, takes the screenshot, then copies,
// saves, records and shows it as the preferences say, or opens the editor.
// Only one run at a time: the workspace's busy flag drops other requests.
// GUI thread only; everything it is given must outlive it.
class CaptureSession : public QObject {
    Q_OBJECT

public:
    struct Collaborators {
        CaptureWorkspace &model;
        CaptureService &service;
        CapturePreferences &preferences;
        CaptureThumbnail &thumbnail;
        CaptureClipboard &clipboard;
        CaptureSessionHost &host;
        // Style and frame defaults of new documents.
        UserDefaults &defaults;
        std::function<void(TavimoEvent)> track;
    };

    // The desktop and the helpers, replaceable in tests.
    struct Environment {
        std::function<bool()> applicationActive;
        std::function<Qt::KeyboardModifiers()> heldModifiers;
        // Called off the GUI thread.
        std::function<QString(const QImage &)> recognize;
        // The one PNG encoding of a finished capture.
        std::function<QByteArray(const QImage &)> encode;
    };

    static Environment systemEnvironment();

    CaptureSession(Collaborators collaborators, Environment environment = systemEnvironment(),
                   QObject *parent = nullptr);

    // Returns at once; the capture continues on the event loop.
    void startCapture(bool appending, CaptureMode mode);

signals:
    // A run ended on any path.
    void finished();

private:
    struct Run {
        CaptureMode mode;
        bool appending;
        QPointer<CaptureBoard> target;
        // A new capture's board, held on the GUI thread while it is delivered.
        std::shared_ptr<std::unique_ptr<CaptureBoard>> board;
    };

    template <typename T> void await(QFuture<T> future, std::function<void(QFuture<T>)> next);
    void waitForFocus();
    void waitForModifiers();
    void capture();
    void captured(QList<QImage> images, QList<QSizeF> sizes);
    void recognizeText(const QImage &image);
    void copyText(const QString &text);
    void append(const QList<QImage> &images, const QList<QSizeF> &sizes);
    void createBoard(const QList<QImage> &images, const QList<QSizeF> &sizes);
    // Copies, saves, records and shows a finished capture as the preferences
    // say, then the run ends. Throws when the board cannot be rendered.
    void handleCapture(std::unique_ptr<CaptureBoard> board, CaptureMode mode);
    // Opens the editor, or shows the thumbnail and the warnings.
    void present(const QImage &image, const CaptureDelivery::Outcome &delivered);
    void cancelled();
    void fail(const QString &reason);
    void end();

    CaptureWorkspace &m_model;
    CaptureService &m_service;
    CapturePreferences &m_preferences;
    CaptureThumbnail &m_thumbnail;
    CaptureClipboard &m_clipboard;
    CaptureSessionHost &m_host;
    UserDefaults &m_defaults;
    std::function<void(TavimoEvent)> m_track;
    Environment m_environment;
    CaptureDelivery m_delivery;
    std::optional<Run> m_run;
};
