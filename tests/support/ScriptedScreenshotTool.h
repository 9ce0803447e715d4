#pragma once

#include <QFile>
#include <QString>

// Shell scripts standing in for the screenshot tool: each runs in `folder`,
// with `$out` the output path it is given. The last one used is the tool
// until this is destroyed.
class ScriptedScreenshotTool {
public:
    explicit ScriptedScreenshotTool(const QString &folder) : m_folder(folder) {}
    ~ScriptedScreenshotTool() { qunsetenv("TAVIMO_SCREENCAPTURE"); }
    ScriptedScreenshotTool(const ScriptedScreenshotTool &) = delete;
    ScriptedScreenshotTool &operator=(const ScriptedScreenshotTool &) = delete;

    // Without a body the tool is missing.
    void use(const char *body)
    {
        const QString path = m_folder + QStringLiteral("/tool-%1").arg(++m_count);
        QFile script(path);
        if (body && script.open(QIODevice::WriteOnly)) {
            script.write(QStringLiteral("#!/bin/sh\nfor out; do :; done\ncd '%1'\n%2\n")
                             .arg(m_folder, QString::fromUtf8(body))
                             .toUtf8());
            script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        }
        qputenv("TAVIMO_SCREENCAPTURE", QFile::encodeName(path));
    }

private:
    QString m_folder;
    int m_count = 0;
};
