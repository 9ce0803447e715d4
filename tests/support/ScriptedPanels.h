#pragma once

#include "CapturePanels.h"

#include <QList>

#include <functional>

// Panels that answer as a test scripts them and remember what they were asked.
// A script may change the workspace, as a user could while a panel is open.
class ScriptedPanels : public CapturePanels {
public:
    std::function<std::optional<QString>()> open = [] {
        return std::nullopt;
    };
    std::function<std::optional<QString>(const QString &)> save = [](const QString &) {
        return std::nullopt;
    };
    std::function<qsizetype(const CaptureAlert &)> alert = [](const CaptureAlert &a) {
        return a.cancelButton;
    };
    QList<QStringList> openRequests;
    int saveRequests = 0;
    QList<CaptureAlert> alerts;

    void saveTo(const QString &path)
    {
        save = [path](const QString &) {
            return std::optional(path);
        };
    }
    void answerAlerts(qsizetype button)
    {
        alert = [button](const CaptureAlert &) {
            return button;
        };
    }

    std::optional<QString> chooseFileToOpen(const QStringList &mimeTypes) override
    {
        openRequests.append(mimeTypes);
        return open();
    }
    std::optional<QString> chooseSaveDestination(const QString &fileName, const QString &) override
    {
        ++saveRequests;
        return save(fileName);
    }
    qsizetype runAlert(const CaptureAlert &request) override
    {
        alerts.append(request);
        return alert(request);
    }
};
