#include "CaptureService.h"
#include "CaptureFailure.h"
#include "CaptureSelectionFocus.h"
#include "FutureWait.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUuid>

#include <gtest/gtest.h>

#include <atomic>

namespace {

const QString prefix = QStringLiteral("tavimo-capture-");

class CaptureServiceTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_temporary.isValid());
        ASSERT_TRUE(m_tools.isValid());
        qputenv("TMPDIR", QFile::encodeName(m_temporary.path()));
    }

    void TearDown() override
    {
        qunsetenv("TMPDIR");
        qunsetenv("TAVIMO_SCREENCAPTURE");
    }

    // A shell script standing in for the tool; `$out` is the output path.
    void useTool(const QString &body)
    {
        const QString path = m_tools.filePath(QStringLiteral("tool-%1").arg(++m_toolCount));
        QFile script(path);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(
            QStringLiteral("#!/bin/sh\nfor out; do :; done\ncd '%1'\n%2\n").arg(m_tools.path(), body).toUtf8());
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("TAVIMO_SCREENCAPTURE", QFile::encodeName(path));
    }

    QImage writeFixture()
    {
        QImage image(4, 3, QImage::Format_RGB32);
        image.fill(QColor(12, 200, 99));
        image.setPixel(3, 2, qRgb(250, 1, 2));
        EXPECT_TRUE(image.save(m_tools.filePath(QStringLiteral("fixture.png"))));
        return image;
    }

    QStringList captureFolders() const
    {
        return QDir(m_temporary.path()).entryList({prefix + QLatin1Char('*')}, QDir::AllEntries | QDir::System);
    }

    QString toolFile(const QString &name) const
    {
        QFile file(m_tools.filePath(name));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
    }

    QTemporaryDir m_temporary;
    QTemporaryDir m_tools;
    int m_toolCount = 0;
};

template <typename Error, typename T> Error failureOf(QFuture<T> future)
{
    try {
        settled(future).waitForFinished();
    } catch (const Error &error) {
        return error;
    }
    ADD_FAILURE() << "the future did not fail with the expected error";
    throw std::logic_error("no error");
}

TEST_F(CaptureServiceTest, ToolWritesImageThatOutlivesItsFolder)
{
    const QImage fixture = writeFixture();
    useTool(QStringLiteral("echo \"$@\" > args\nstat -c %a \"$(dirname \"$out\")\" > mode\ncp fixture.png \"$out\""));
    CaptureService service;
    const QStringList expectedArguments[] = {{"-i", "-o"}, {"-i", "-s"}, {"-m"}};
    const CaptureMode modes[] = {CaptureMode::area, CaptureMode::ocr, CaptureMode::screen};
    for (int i = 0; i < 3; ++i) {
        QFuture<std::optional<QImage>> future = service.capture(modes[i]);
        EXPECT_TRUE(service.busy());
        const std::optional<QImage> image = resultOf(future);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->size(), QSize(4, 3));
        EXPECT_EQ(image->format(), QImage::Format_ARGB32_Premultiplied);
        EXPECT_EQ(image->pixel(0, 0), fixture.pixel(0, 0));
        EXPECT_EQ(image->pixel(3, 2), fixture.pixel(3, 2));

        const QStringList arguments = toolFile(QStringLiteral("args")).split(QLatin1Char(' '));
        ASSERT_EQ(arguments.size(), 4 + expectedArguments[i].size());
        EXPECT_EQ(arguments.mid(0, 3), (QStringList{"-x", "-t", "png"}));
        EXPECT_EQ(arguments.mid(3, expectedArguments[i].size()), expectedArguments[i]);
        const QRegularExpression output(QStringLiteral("^%1/%2[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-"
                                                       "[0-9A-F]{12}/capture\\.png$")
                                            .arg(QRegularExpression::escape(m_temporary.path()), prefix));
        EXPECT_TRUE(output.match(arguments.last()).hasMatch()) << arguments.last().toStdString();
        EXPECT_EQ(toolFile(QStringLiteral("mode")), "700");
        EXPECT_TRUE(captureFolders().isEmpty());
        EXPECT_FALSE(service.busy());
    }
}

TEST_F(CaptureServiceTest, ToolOutcomesWithoutAnImage)
{
    writeFixture();
    CaptureService service;

    useTool(QStringLiteral("cp fixture.png \"$out\"\nexit 3"));
    EXPECT_EQ(failureOf<CaptureError>(service.capture(CaptureMode::area)).code(), CaptureFailure::failed);
    EXPECT_TRUE(captureFolders().isEmpty());

    useTool(QStringLiteral("echo 'not a picture' > \"$out\""));
    EXPECT_EQ(failureOf<CaptureError>(service.capture(CaptureMode::area)).code(), CaptureFailure::invalidImage);
    EXPECT_TRUE(captureFolders().isEmpty());

    // The user pressed Escape: no file, no error for the interactive modes.
    useTool(QStringLiteral("exit 0"));
    EXPECT_EQ(resultOf(service.capture(CaptureMode::area)), std::nullopt);
    EXPECT_EQ(resultOf(service.capture(CaptureMode::ocr)), std::nullopt);
    EXPECT_EQ(failureOf<CaptureError>(service.capture(CaptureMode::screen)).code(), CaptureFailure::failed);
    EXPECT_TRUE(captureFolders().isEmpty());
    EXPECT_FALSE(service.busy());
}

TEST_F(CaptureServiceTest, ToolThatCannotStart)
{
    CaptureService service;
    qputenv("TAVIMO_SCREENCAPTURE", QFile::encodeName(m_tools.filePath(QStringLiteral("missing"))));
    const std::runtime_error error = failureOf<std::runtime_error>(service.capture(CaptureMode::screen));
    EXPECT_TRUE(QString::fromUtf8(error.what()).startsWith("The screenshot tool could not be started: "));
    EXPECT_TRUE(captureFolders().isEmpty());
    EXPECT_FALSE(service.busy());

    // A later capture is not blocked by the failed one.
    writeFixture();
    useTool(QStringLiteral("cp fixture.png \"$out\""));
    EXPECT_TRUE(resultOf(service.capture(CaptureMode::screen)));
}

TEST_F(CaptureServiceTest, FolderThatCannotBeMade)
{
    CaptureService service;
    QFile blocker(m_temporary.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    qputenv("TMPDIR", QFile::encodeName(blocker.fileName()));
    EXPECT_THROW(settled(service.capture(CaptureMode::area)).waitForFinished(), std::system_error);
    EXPECT_FALSE(service.busy());
}

TEST_F(CaptureServiceTest, SecondCaptureWhileBusyReturnsNothingAtOnce)
{
    writeFixture();
    useTool(QStringLiteral("touch started\nwhile [ ! -e go ]; do sleep 0.02; done\ncp fixture.png \"$out\""));
    CaptureService service;
    QFuture<std::optional<QImage>> first = service.capture(CaptureMode::area);
    QFuture<std::optional<QImage>> second = service.capture(CaptureMode::area);
    ASSERT_TRUE(second.isFinished());
    EXPECT_EQ(second.result(), std::nullopt);
    EXPECT_EQ(captureFolders().size(), 1);

    QFile go(m_tools.filePath(QStringLiteral("go")));
    ASSERT_TRUE(go.open(QIODevice::WriteOnly));
    go.close();
    const std::optional<QImage> image = resultOf(first);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), QSize(4, 3));
    EXPECT_TRUE(captureFolders().isEmpty());
}

TEST_F(CaptureServiceTest, CancelEndsTheToolAndRemovesTheFolder)
{
    useTool(QStringLiteral("exec sleep 30"));
    CaptureService service;
    QFuture<std::optional<QImage>> area = service.capture(CaptureMode::area);
    service.cancel();
    EXPECT_TRUE(captureFolders().isEmpty());
    EXPECT_EQ(resultOf(area), std::nullopt);
    EXPECT_FALSE(service.busy());

    QFuture<std::optional<QImage>> screen = service.capture(CaptureMode::screen);
    service.cancel();
    EXPECT_EQ(failureOf<CaptureError>(screen).code(), CaptureFailure::failed);
    EXPECT_TRUE(captureFolders().isEmpty());

    QFuture<std::optional<QImage>> abandoned;
    {
        CaptureService closing;
        abandoned = closing.capture(CaptureMode::area);
    }
    EXPECT_TRUE(captureFolders().isEmpty());
    EXPECT_TRUE(abandoned.isCanceled());
}

TEST_F(CaptureServiceTest, SweepRemovesOnlyLeftoverCaptureFolders)
{
    const QDir temporary(m_temporary.path());
    const QString leftover = prefix + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    ASSERT_TRUE(temporary.mkpath(leftover + QStringLiteral("/inner")));
    const QString lowerCase = prefix + QUuid::createUuid().toString(QUuid::WithoutBraces);
    ASSERT_TRUE(temporary.mkdir(lowerCase));
    const QString word = prefix + QStringLiteral("notes");
    ASSERT_TRUE(temporary.mkdir(word));
    const QString braced = prefix + QUuid::createUuid().toString();
    ASSERT_TRUE(temporary.mkdir(braced));
    const QString unrelated = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    ASSERT_TRUE(temporary.mkdir(unrelated));
    // A link with a capture folder's name goes; what it points to stays.
    const QString target = m_tools.filePath(QStringLiteral("keep"));
    ASSERT_TRUE(QDir().mkpath(target + QStringLiteral("/inside")));
    const QString link = prefix + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    ASSERT_TRUE(QFile::link(target, temporary.filePath(link)));

    CaptureService service;

    const QStringList left = temporary.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    EXPECT_FALSE(left.contains(leftover));
    EXPECT_FALSE(left.contains(lowerCase));
    EXPECT_FALSE(left.contains(link));
    EXPECT_TRUE(left.contains(word));
    EXPECT_TRUE(left.contains(braced));
    EXPECT_TRUE(left.contains(unrelated));
    EXPECT_TRUE(QDir(target + QStringLiteral("/inside")).exists());
}

TEST(CaptureServiceFocus, WaitsUpToFiftyPollsForActivation)
{
    CaptureService service;
    EXPECT_TRUE(settled(service.waitForKeyboardFocus([] { return true; })).isFinished());

    int checks = 0;
    QElapsedTimer clock;
    clock.start();
    settled(service.waitForKeyboardFocus([&] { return ++checks == 5; })).waitForFinished();
    EXPECT_EQ(checks, 5);
    EXPECT_GE(clock.elapsed(), 4 * 40 - 5);

    checks = 0;
    clock.restart();
    const CaptureSelectionFocus::Error error =
        failureOf<CaptureSelectionFocus::Error>(service.waitForKeyboardFocus([&] {
            ++checks;
            return false;
        }));
    EXPECT_EQ(error.code(), CaptureSelectionFocus::Failure::activationTimedOut);
    EXPECT_EQ(error.description(), "Capture could not take keyboard focus. Open Tavimo Capture and try again.");
    EXPECT_EQ(checks, 51);
    EXPECT_GE(clock.elapsed(), 50 * 40 - 20);

    QFuture<void> cancelled = service.waitForKeyboardFocus([] { return false; });
    cancelled.cancel();
    EXPECT_TRUE(settled(cancelled).isCanceled());
}

TEST(CaptureServiceModifiers, ReleasedKeysPauseBriefly)
{
    CaptureService service;
    std::atomic<bool> held = true;
    QTimer::singleShot(150, [&] { held = false; });
    QElapsedTimer clock;
    clock.start();
    const auto outcome = resultOf(service.waitForModifierRelease(
        [&] { return held ? Qt::KeyboardModifiers(Qt::MetaModifier) : Qt::KeyboardModifiers(Qt::KeypadModifier); }));
    EXPECT_EQ(outcome, CaptureService::ModifierRelease::released);
    EXPECT_GE(clock.elapsed(), 150 + 200 - 5);
}

} // namespace
