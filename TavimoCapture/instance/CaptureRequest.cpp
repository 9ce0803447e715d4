#include "CaptureRequest.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString actionKey = QStringLiteral("action");
const QString modeKey = QStringLiteral("mode");
const QString delayKey = QStringLiteral("delay");
const QString returnsImageKey = QStringLiteral("returnsImage");
const QString pathKey = QStringLiteral("path");

QString actionName(CaptureRequest::Action action)
{
    switch (action) {
    case CaptureRequest::Action::capture:
        return QStringLiteral("capture");
    case CaptureRequest::Action::showEditor:
        return QStringLiteral("showEditor");
    case CaptureRequest::Action::open:
        return QStringLiteral("open");
    }
    return QString();
}

std::optional<CaptureRequest::Action> actionNamed(const QString &name)
{
    for (const auto action :
         {CaptureRequest::Action::capture, CaptureRequest::Action::showEditor, CaptureRequest::Action::open}) {
        if (actionName(action) == name)
            return action;
    }
    return std::nullopt;
}

bool isWholeNumberIn(const QJsonValue &value, int lowest, int highest)
{
    const double number = value.toDouble(-1);
    return value.isDouble() && number >= lowest && number <= highest && number == int(number);
}

bool isConsistent(const CaptureRequest &request)
{
    switch (request.action) {
    case CaptureRequest::Action::capture:
        return request.path.isEmpty() && !(request.returnsImage && !returnsImageAllowed(request.mode));
    case CaptureRequest::Action::showEditor:
        return request.path.isEmpty() && request.delaySeconds == 0 && !request.returnsImage;
    case CaptureRequest::Action::open:
        return QDir::isAbsolutePath(request.path) && request.delaySeconds == 0 && !request.returnsImage;
    }
    return false;
}

} // namespace

bool returnsImageAllowed(CaptureMode mode)
{
    return mode != CaptureMode::ocr;
}

CaptureRequest CaptureRequest::capture(CaptureMode mode, int delaySeconds, bool returnsImage)
{
    CaptureRequest request;
    request.action = Action::capture;
    request.mode = mode;
    request.delaySeconds = delaySeconds;
    request.returnsImage = returnsImage;
    return request;
}

CaptureRequest CaptureRequest::showingEditor()
{
    return CaptureRequest();
}

CaptureRequest CaptureRequest::opening(const QString &path)
{
    CaptureRequest request;
    request.action = Action::open;
    request.path = path;
    return request;
}

QByteArray CaptureRequest::encoded() const
{
    QJsonObject object{{actionKey, actionName(action)}};
    if (action == Action::capture) {
        object.insert(modeKey, qint64(mode));
        object.insert(delayKey, delaySeconds);
        object.insert(returnsImageKey, returnsImage);
    }
    if (action == Action::open)
        object.insert(pathKey, path);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<CaptureRequest> CaptureRequest::decoded(const QByteArray &data)
{
    if (data.size() > maximumEncodedSize)
        return std::nullopt;
    const QJsonObject object = QJsonDocument::fromJson(data).object();
    const std::optional<Action> action = actionNamed(object.value(actionKey).toString());
    if (!action)
        return std::nullopt;
    CaptureRequest request;
    request.action = *action;
    if (request.action == Action::capture) {
        const QJsonValue mode = object.value(modeKey);
        const QJsonValue delay = object.value(delayKey);
        if (!isWholeNumberIn(mode, 1, 4) || !isWholeNumberIn(delay, 0, maximumDelaySeconds) ||
            !object.value(returnsImageKey).isBool())
            return std::nullopt;
        request.mode = *captureModeFromRaw(quint32(mode.toInt()));
        request.delaySeconds = delay.toInt();
        request.returnsImage = object.value(returnsImageKey).toBool();
    }
    if (request.action == Action::open) {
        if (!object.value(pathKey).isString())
            return std::nullopt;
        request.path = object.value(pathKey).toString();
    }
    if (!isConsistent(request))
        return std::nullopt;
    return request;
}
