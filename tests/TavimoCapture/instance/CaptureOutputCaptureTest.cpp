#include "CaptureOutputCapture.h"
#include "CaptureFailure.h"
#include "CaptureService.h"
#include "ScriptedScreenshotTool.h"

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

    void TearDown() override { qunsetenv("TMPDIR"); }

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
    ScriptedScreenshotTool m_tool{m_tools.path()};
    CaptureService m_service;
    QObject m_context;
};

TEST_F(CaptureOutputCaptureTest, EveryEndOfACaptureIsAnOutcome)
{
    m_tool.use("sleep 0.3\ncp fixture.png \"$out\"");
    QFuture<CaptureOutcome> first = CaptureOutputCapture::run(m_service, CaptureMode::screen, {}, &m_context);
    QTest::qWait(50);
    const CaptureOutcome second = outcomeOf(CaptureOutputCapture::run(m_service, CaptureMode::area, {}, &m_context));
    EXPECT_EQ(second.kind, CaptureOutcome::Kind::failed);
    EXPECT_EQ(second.reason, "Another capture is still running.");
    const CaptureOutcome image = outcomeOf(first);
    EXPECT_EQ(image.kind, CaptureOutcome::Kind::image);
    EXPECT_EQ(image.png, fixturePng());

    m_tool.use("exit 0");
    EXPECT_EQ(outcomeOf(CaptureOutputCapture::run(m_service, CaptureMode::area, {}, &m_context)).kind,
              CaptureOutcome::Kind::cancelled);
    m_tool.use("echo 'not a picture' > \"$out\"");
    const CaptureOutcome broken = outcomeOf(CaptureOutputCapture::run(m_service, CaptureMode::screen, {}, &m_context));
    EXPECT_EQ(broken.kind, CaptureOutcome::Kind::failed);
    EXPECT_EQ(broken.reason, description(CaptureFailure::invalidImage));
    m_tool.use(nullptr);
    const CaptureOutcome missing = outcomeOf(CaptureOutputCapture::run(m_service, CaptureMode::screen, {}, &m_context));
    EXPECT_EQ(missing.kind, CaptureOutcome::Kind::failed);
    EXPECT_TRUE(missing.reason.startsWith("The screenshot tool could not be started")) << missing.reason.toStdString();
}

} // namespace
