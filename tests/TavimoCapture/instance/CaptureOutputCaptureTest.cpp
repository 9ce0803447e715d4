#include "CaptureOutputCapture.h"
#include "CaptureFailure.h"
#include "CaptureService.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class CaptureOutputCaptureTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_tools.isValid());
        qputenv("TMPDIR", QFile::encodeName(m_tools.path()));
        QImage fixture(5, 4, QImage::Format_RGB32);
        fixture.fill(Qt::darkCyan);
        ASSERT_TRUE(fixture.save(m_tools.filePath("fixture.png")));
    }

    void TearDown() override
    {
        qunsetenv("TMPDIR");
        qunsetenv("TAVIMO_SCREENCAPTURE");
    }

    // A stand-in for the screenshot tool; the output path is its last argument.
    void useTool(const QString &body)
    {
        const QString path = m_tools.filePath(QStringLiteral("tool-%1").arg(++m_toolCount));
        QFile script(path);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(
            QStringLiteral("#!/bin/sh\nfor out; do :; done\ncd '%1'\n%2\n").arg(m_tools.path(), body).toUtf8());
        script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        qputenv("TAVIMO_SCREENCAPTURE", QFile::encodeName(path));
    }

    CaptureOutcome outcomeOf(QFuture<CaptureOutcome> future)
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return future.isFinished(); }, 10000));
        return future.result();
    }

    QByteArray fixturePng() const
    {
        QFile file(m_tools.filePath("fixture.png"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_tools;
    int m_toolCount = 0;
    CaptureService m_service;
    QObject m_context;
};

TEST_F(CaptureOutputCaptureTest, EveryEndOfACaptureIsAnOutcome)
{
    useTool("sleep 0.3\ncp fixture.png \"$out\"");
    QFuture<CaptureOutcome> first = CaptureOutputCapture::run(m_service, CaptureMode::screen, {}, &m_context);
    QTest::qWait(50);
    const CaptureOutcome second = outcomeOf(CaptureOutputCapture::run(m_service, CaptureMode::area, {}, &m_context));
    EXPECT_EQ(second.kind, CaptureOutcome::Kind::failed);
    EXPECT_EQ(second.reason, "Another capture is still running.");
    const CaptureOutcome image = outcomeOf(first);
    EXPECT_EQ(image.kind, CaptureOutcome::Kind::image);
    EXPECT_EQ(image.png, fixturePng());

    useTool("exit 0");
    EXPECT_EQ(outcomeOf(CaptureOutputCapture::run(m_service, CaptureMode::area, {}, &m_context)).kind,
              CaptureOutcome::Kind::cancelled);
    useTool("echo 'not a picture' > \"$out\"");
    const CaptureOutcome broken = outcomeOf(CaptureOutputCapture::run(m_service, CaptureMode::screen, {}, &m_context));
    EXPECT_EQ(broken.kind, CaptureOutcome::Kind::failed);
    EXPECT_EQ(broken.reason, description(CaptureFailure::invalidImage));
    qputenv("TAVIMO_SCREENCAPTURE", QFile::encodeName(m_tools.filePath("missing")));
    const CaptureOutcome missing = outcomeOf(CaptureOutputCapture::run(m_service, CaptureMode::screen, {}, &m_context));
    EXPECT_EQ(missing.kind, CaptureOutcome::Kind::failed);
    EXPECT_TRUE(missing.reason.startsWith("The screenshot tool could not be started")) << missing.reason.toStdString();
}

} // namespace
