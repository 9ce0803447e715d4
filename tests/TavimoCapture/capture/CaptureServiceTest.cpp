#include "CaptureService.h"
#include "CaptureDecoding.h"
#include "CaptureFailure.h"
#include "CaptureSelectionFocus.h"
#include "FutureWait.h"
#include "ScriptedScreenshotTool.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUuid>

#include <gtest/gtest.h>

namespace {

const QString prefix = QStringLiteral("tavimo-capture-");

class CaptureServiceTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_temporary.isValid() && m_tools.isValid());
        qputenv("TMPDIR", QFile::encodeName(m_temporary.path()));
        m_fixture.fill(QColor(12, 200, 99));
        m_fixture.setPixel(3, 2, qRgb(250, 1, 2));
        ASSERT_TRUE(m_fixture.save(m_tools.filePath(QStringLiteral("fixture.png"))));
    }

    void TearDown() override { qunsetenv("TMPDIR"); }

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
    QImage m_fixture{4, 3, QImage::Format_RGB32};
    ScriptedScreenshotTool m_tool{m_tools.path()};
};

// "image", "nothing", or what the capture failed with.
QString outcomeOf(QFuture<std::optional<QImage>> future)
{
    try {
        return resultOf(future) ? QStringLiteral("image") : QStringLiteral("nothing");
    } catch (const std::exception &error) {
        return QString::fromUtf8(error.what());
    }
}

TEST_F(CaptureServiceTest, ToolWritesImageThatOutlivesItsFolder)
{
    m_tool.use("echo \"$@\" > args\nstat -c %a \"$(dirname \"$out\")\" > mode\ncp fixture.png \"$out\"");
    CaptureService service;
    const std::pair<CaptureMode, QStringList> modes[] = {
        {CaptureMode::area, {"-i", "-o"}}, {CaptureMode::ocr, {"-i", "-s"}}, {CaptureMode::screen, {"-m"}}};
    const QRegularExpression output(
        QStringLiteral("^%1/%2[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}/capture\\.png$")
            .arg(QRegularExpression::escape(m_temporary.path()), prefix));
    for (const auto &[mode, modeArguments] : modes) {
        SCOPED_TRACE(int(mode));
        QFuture<std::optional<QImage>> future = service.capture(mode);
        // A second capture while the tool runs gives nothing at once.
        QFuture<std::optional<QImage>> second = service.capture(mode);
        ASSERT_TRUE(second.isFinished());
        EXPECT_EQ(second.result(), std::nullopt);
        EXPECT_EQ(captureFolders().size(), 1);
        const quint64 decodes = CaptureDecoding::count();
        EXPECT_EQ(resultOf(future), m_fixture.convertToFormat(QImage::Format_ARGB32_Premultiplied));
        EXPECT_EQ(CaptureDecoding::count(), decodes + 1) << "a tool's file is decoded once";

        const QStringList arguments = toolFile(QStringLiteral("args")).split(QLatin1Char(' '));
        EXPECT_EQ(arguments.mid(0, arguments.size() - 1), QStringList({"-x", "-t", "png"}) + modeArguments);
        EXPECT_TRUE(output.match(arguments.last()).hasMatch()) << arguments.last().toStdString();
        EXPECT_EQ(toolFile(QStringLiteral("mode")), "700");
        EXPECT_TRUE(captureFolders().isEmpty());
        EXPECT_FALSE(service.busy());
    }
}

TEST_F(CaptureServiceTest, PngCapturesPassTheToolsFileOnAfterCheckingIt)
{
    CaptureService service;
    m_tool.use("cp fixture.png \"$out\"");
    QFile fixture(m_tools.filePath(QStringLiteral("fixture.png")));
    ASSERT_TRUE(fixture.open(QIODevice::ReadOnly));
    EXPECT_EQ(resultOf(service.capturePng(CaptureMode::screen)), fixture.readAll());
    m_tool.use("exit 0");
    EXPECT_EQ(resultOf(service.capturePng(CaptureMode::area)), std::nullopt);
    m_tool.use("echo 'not a picture' > \"$out\"");
    EXPECT_EQ(failureOf<CaptureError>(service.capturePng(CaptureMode::screen)).code(), CaptureFailure::invalidImage);
    EXPECT_TRUE(captureFolders().isEmpty());
}

TEST_F(CaptureServiceTest, EveryOutcomeRemovesTheFolder)
{
    const std::tuple<const char *, CaptureMode, QString> cases[] = {
        {"cp fixture.png \"$out\"\nexit 3", CaptureMode::area, description(CaptureFailure::failed)},
        {"echo 'not a picture' > \"$out\"", CaptureMode::area, description(CaptureFailure::invalidImage)},
        {"exit 0", CaptureMode::area, "nothing"},
        {"exit 0", CaptureMode::ocr, "nothing"},
        {"exit 0", CaptureMode::screen, description(CaptureFailure::failed)},
        {nullptr, CaptureMode::screen, "The screenshot tool could not be started: "},
        {"cp fixture.png \"$out\"", CaptureMode::screen, "image"},
    };
    CaptureService service;
    for (const auto &[tool, mode, outcome] : cases) {
        SCOPED_TRACE(tool ? tool : "missing tool");
        m_tool.use(tool);
        const QString actual = outcomeOf(service.capture(mode));
        EXPECT_TRUE(actual.startsWith(outcome)) << actual.toStdString();
        EXPECT_TRUE(captureFolders().isEmpty());
        EXPECT_FALSE(service.busy());
    }

    QFile blocker(m_temporary.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    qputenv("TMPDIR", QFile::encodeName(blocker.fileName()));
    EXPECT_THROW(settled(service.capture(CaptureMode::area)).waitForFinished(), std::system_error);
    EXPECT_FALSE(service.busy());
}

TEST_F(CaptureServiceTest, CancelEndsTheToolAndRemovesTheFolder)
{
    m_tool.use("exec sleep 30");
    CaptureService service;
    for (const auto &[mode, outcome] : {std::pair(CaptureMode::area, QStringLiteral("nothing")),
                                        std::pair(CaptureMode::screen, description(CaptureFailure::failed))}) {
        QFuture<std::optional<QImage>> capture = service.capture(mode);
        service.cancel();
        EXPECT_TRUE(captureFolders().isEmpty());
        EXPECT_EQ(outcomeOf(capture), outcome);
    }
    QFuture<std::optional<QImage>> abandoned = std::make_unique<CaptureService>()->capture(CaptureMode::area);
    EXPECT_TRUE(captureFolders().isEmpty());
    EXPECT_TRUE(abandoned.isCanceled());
}

TEST_F(CaptureServiceTest, SweepRemovesOnlyLeftoverCaptureFolders)
{
    const QDir temporary(m_temporary.path());
    const auto uuid = [] {
        return QUuid::createUuid().toString(QUuid::WithoutBraces);
    };
    const QStringList leftovers{prefix + uuid().toUpper(), prefix + uuid()};
    const QStringList others{prefix + QStringLiteral("notes"), prefix + QUuid::createUuid().toString(), uuid()};
    for (const QString &name : leftovers + others)
        ASSERT_TRUE(temporary.mkpath(name + QStringLiteral("/inner")));
    // A link with a capture folder's name goes; what it points to stays.
    const QString target = m_tools.filePath(QStringLiteral("keep/inside"));
    const QString link = temporary.filePath(prefix + uuid().toUpper());
    ASSERT_TRUE(QDir().mkpath(target) && QFile::link(m_tools.filePath(QStringLiteral("keep")), link));

    CaptureService service;
    for (const QString &name : leftovers + others)
        EXPECT_EQ(temporary.exists(name), others.contains(name)) << name.toStdString();
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(QDir(target).exists());

    // A folder another service (another process, say) is using is no leftover.
    m_tool.use("sleep 0.3\ncp fixture.png \"$out\"");
    QFuture<std::optional<QImage>> running = service.capture(CaptureMode::screen);
    CaptureService later;
    EXPECT_EQ(outcomeOf(running), QStringLiteral("image"));
}

TEST(CaptureServiceWaits, FocusUpToFiftyPollsAndModifiersUntilReleased)
{
    CaptureService service;
    int checks = 0;
    settled(service.waitForKeyboardFocus([&] { return ++checks == 5; })).waitForFinished();
    EXPECT_EQ(checks, 5);

    checks = 0;
    const auto error = failureOf<CaptureSelectionFocus::Error>(service.waitForKeyboardFocus([&] {
        ++checks;
        return false;
    }));
    EXPECT_EQ(error.code(), CaptureSelectionFocus::Failure::activationTimedOut);
    EXPECT_EQ(checks, 51);

    // Keypad keys are not capture modifiers.
    EXPECT_EQ(resultOf(service.waitForModifierRelease([] { return Qt::KeyboardModifiers(Qt::KeypadModifier); })),
              CaptureService::ModifierRelease::released);
}

} // namespace
