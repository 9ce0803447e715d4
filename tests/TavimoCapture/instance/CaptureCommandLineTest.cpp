#include "CaptureCommandLine.h"
#include "CaptureUsageFailure.h"

#include <gtest/gtest.h>

namespace {

using Kind = CaptureUsageFailure::Kind;

CaptureCommand parsed(QStringList arguments, const QString &workingDirectory = QStringLiteral("/home/user/work"))
{
    arguments.prepend(QStringLiteral("tavimo-capture"));
    return CaptureCommandLine().parse(arguments, workingDirectory);
}

std::optional<CaptureUsageError> rejection(const QStringList &arguments)
{
    try {
        parsed(arguments);
    } catch (const CaptureUsageError &error) {
        return error;
    }
    return std::nullopt;
}

TEST(CaptureCommandLine, CapturesOutputsAndFilesResolveAgainstTheCallersFolder)
{
    const CaptureCommand plain = parsed({});
    EXPECT_EQ(plain.kind, CaptureCommand::Kind::run);
    EXPECT_FALSE(plain.request);

    const CaptureCommand screen = parsed({"--screen", "--output", "shots/../x.png", "--overwrite"});
    ASSERT_TRUE(screen.request);
    EXPECT_EQ(*screen.request, CaptureRequest::capture(CaptureMode::screen, 0, true));
    EXPECT_EQ(screen.output, QStringLiteral("/home/user/work/x.png"));
    EXPECT_TRUE(screen.overwrite);

    const CaptureCommand toStandardOutput = parsed({"--all-displays", "--output", "-"});
    EXPECT_EQ(toStandardOutput.request->mode, CaptureMode::allDisplays);
    EXPECT_EQ(toStandardOutput.output, CaptureCommand::standardOutput);

    const CaptureCommand text = parsed({"--text", "--delay", "3"});
    EXPECT_EQ(text.request->mode, CaptureMode::ocr);
    EXPECT_EQ(text.request->delaySeconds, 3);
    EXPECT_FALSE(text.request->returnsImage);
    EXPECT_FALSE(text.output);

    EXPECT_EQ(parsed({"--area"}).request->mode, CaptureMode::area);
    EXPECT_EQ(parsed({"--editor"}).request->action, CaptureRequest::Action::showEditor);
    EXPECT_EQ(parsed({"--open", "../pictures/a b.png"}, "/tmp/elsewhere").request,
              CaptureRequest::opening("/tmp/pictures/a b.png"));
    EXPECT_EQ(parsed({"--open", "/abs/c.png"}).request->path, QStringLiteral("/abs/c.png"));
    EXPECT_EQ(parsed({"--help"}).kind, CaptureCommand::Kind::help);
    EXPECT_EQ(parsed({"--version"}).kind, CaptureCommand::Kind::version);
    EXPECT_TRUE(CaptureCommandLine().helpText().contains("--all-displays"));
}

TEST(CaptureCommandLine, BadCommandLinesAreRefusedWithTheirReason)
{
    const struct {
        QStringList arguments;
        Kind kind;
        const char *mentions;
    } cases[] = {
        {{"--bogus"}, Kind::rejected, "bogus"},
        {{"--open"}, Kind::rejected, "open"},
        {{"--screen", "--output"}, Kind::rejected, "output"},
        {{"--open", ""}, Kind::emptyFileName, "--open"},
        {{"--screen", "--output", ""}, Kind::emptyFileName, "--output"},
        {{"stray.png"}, Kind::unexpectedArgument, "stray.png"},
        {{"--area", "--screen"}, Kind::severalActions, "one of"},
        {{"--editor", "--open", "a.png"}, Kind::severalActions, "one of"},
        {{"--open", "a.png", "--open", "b.png"}, Kind::severalActions, "one of"},
        {{"--text", "--output", "x.png"}, Kind::outputNeedsImageCapture, "--output"},
        {{"--editor", "--output", "x.png"}, Kind::outputNeedsImageCapture, "--output"},
        {{"--output", "x.png"}, Kind::outputNeedsImageCapture, "--output"},
        {{"--screen", "--overwrite"}, Kind::overwriteNeedsOutput, "--overwrite"},
        {{"--editor", "--delay", "2"}, Kind::delayNeedsCapture, "--delay"},
        {{"--area", "--delay", "soon"}, Kind::invalidDelay, "soon"},
        {{"--area", "--delay", "-1"}, Kind::invalidDelay, "-1"},
        {{"--area", "--delay", "3601"}, Kind::invalidDelay, "3601"},
        {{"--area", "--delay", "1.5"}, Kind::invalidDelay, "1.5"},
    };
    for (const auto &row : cases) {
        const std::optional<CaptureUsageError> error = rejection(row.arguments);
        ASSERT_TRUE(error) << row.arguments.join(' ').toStdString();
        EXPECT_EQ(error->code().kind, row.kind) << row.arguments.join(' ').toStdString();
        EXPECT_TRUE(error->description().contains(row.mentions)) << error->description().toStdString();
    }
}

TEST(CaptureRequest, OnlyWellFormedRequestsReadBack)
{
    const CaptureRequest requests[] = {
        CaptureRequest::capture(CaptureMode::allDisplays, 5, true),
        CaptureRequest::capture(CaptureMode::ocr),
        CaptureRequest::showingEditor(),
        CaptureRequest::opening("/tmp/ä b.png"),
    };
    for (const CaptureRequest &request : requests)
        EXPECT_EQ(CaptureRequest::decoded(request.encoded()), request) << request.encoded().toStdString();

    const QByteArray refused[] = {
        "",
        "garbage\x01\xff",
        "[]",
        R"({"action":"reboot"})",
        R"({"action":"capture","mode":5,"delay":0,"returnsImage":false})",
        R"({"action":"capture","mode":"3","delay":0,"returnsImage":false})",
        R"({"action":"capture","mode":3,"delay":1.5,"returnsImage":false})",
        R"({"action":"capture","mode":3,"delay":3601,"returnsImage":false})",
        R"({"action":"capture","mode":3,"delay":0})",
        R"({"action":"capture","mode":2,"delay":0,"returnsImage":true})",
        R"({"action":"open","path":"relative.png"})",
        R"({"action":"open","path":7})",
        R"({"action":"open"})",
        R"({"action":"open","path":")" + QByteArray(CaptureRequest::maximumEncodedSize, 'a') + R"("})",
    };
    for (const QByteArray &data : refused)
        EXPECT_FALSE(CaptureRequest::decoded(data)) << data.left(80).toStdString();
}

} // namespace
