#pragma once

#include "CaptureWorkspace.h"
#include "ScriptedClipboard.h"
#include "ScriptedPanels.h"
#include "UserDefaults.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// A workspace over a private settings file, history folder, panels and
// clipboard, with scripted text recognition.
class WorkspaceTest : public testing::Test {
protected:
    WorkspaceTest();

    void makeWorkspace();
    QString path(const QString &name) const { return m_root.filePath(name); }
    QString historyFolder() const { return path("History"); }
    // Opens a fresh capture of a plain `size` image.
    CaptureDocument &open(QSize size = QSize(120, 80));
    // Opens `name`, written with `data`, through the open panel.
    void openFile(const QString &name, const QByteArray &data, bool append = false);
    static void addRectangle(CaptureDocument &document);
    void waitWhile(bool (CaptureWorkspace::*flag)() const);

    QTemporaryDir m_root;
    std::unique_ptr<UserDefaults> defaults;
    ScriptedPanels panels;
    ScriptedClipboard clipboard;
    QList<TavimoEvent> events;
    int shown = 0;
    CaptureTextRecognition recognition;
    std::unique_ptr<CaptureWorkspace> workspace;
};
