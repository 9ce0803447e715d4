#pragma once

#include "CaptureAppDelegate.h"
#include "MoxterClient.h"
#include "ScriptedClipboard.h"
#include "ScriptedHotKeys.h"
#include "ScriptedPanels.h"
#include "TavimoSignals.h"
#include "TestFiles.h"
#include "UserDefaults.h"

#include <QFile>
#include <QImageReader>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

inline QImage filled(QSize size, QColor colour = Qt::darkCyan)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}

// The running app over private settings, panels, clipboard and hot keys.
class CaptureAppDelegateTest : public testing::Test {
protected:
    CaptureAppDelegateTest()
    {
        QImageReader::setAllocationLimit(1024);
        qputenv("TMPDIR", QFile::encodeName(m_root.path()));
        useTool(QSize(200, 160));
        launch();
    }
    ~CaptureAppDelegateTest() override
    {
        delegate.reset();
        qunsetenv("TMPDIR");
        qunsetenv("TAVIMO_SCREENCAPTURE");
    }

    void launch()
    {
        delegate.reset();
        delegate = std::make_unique<CaptureAppDelegate>(CaptureAppDelegate::Platform{
            .defaults = defaults,
            .tavimoSignals = tavimoSignals,
            .bundle = BundleInfo({{"CFBundleShortVersionString", "9.8.7"}}),
            .updaterEnvironment = {},
            .panels = panels,
            .clipboard = clipboard,
            .hotKeys = hotKeys,
            .history = CaptureHistory(m_root.filePath("History")),
            .session = {[] { return true; }, [] { return Qt::KeyboardModifiers(); },
                        [](const QImage &) { return QString(); }, CaptureHistory::png},
            .chooseFolder = [](QWidget *, const QString &) { return std::nullopt; },
        });
        delegate->applicationDidFinishLaunching();
    }

    // The screenshot tool hands over an image of `size`; an empty size cancels.
    void useTool(QSize size)
    {
        const QString fixture = m_root.filePath("fixture.png");
        if (!size.isEmpty()) {
            ASSERT_TRUE(filled(size, Qt::darkRed).save(fixture));
        }
        const QString tool = m_root.filePath("tool.sh");
        writeFile(tool, QStringLiteral("#!/bin/sh\nfor out; do :; done\n%1\n")
                            .arg(size.isEmpty() ? QString() : "cp '" + fixture + "' \"$out\"")
                            .toUtf8());
        QFile::setPermissions(tool, QFile::ReadOwner | QFile::ExeOwner);
        qputenv("TAVIMO_SCREENCAPTURE", QFile::encodeName(tool));
    }

    void capture(CaptureMode mode = CaptureMode::area)
    {
        QSignalSpy finished(&delegate->session(), &CaptureSession::finished);
        delegate->startCapture(false, mode);
        ASSERT_TRUE(finished.wait(20000));
    }

    QTemporaryDir m_root;
    UserDefaults defaults{m_root.filePath("defaults.json")};
    TavimoSignals tavimoSignals{BundleInfo(), defaults};
    ScriptedPanels panels;
    ScriptedClipboard clipboard;
    ScriptedHotKeys hotKeys;
    std::unique_ptr<CaptureAppDelegate> delegate;
};
