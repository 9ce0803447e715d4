#include "CaptureInstanceClient.h"
#include "CaptureInstanceFailure.h"
#include "CaptureInstanceFrame.h"
#include "CaptureInstanceReply.h"
#include "CaptureInstanceServer.h"
#include "CaptureInstanceSocket.h"
#include "CaptureRequestReader.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QtConcurrent>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

mode_t modeOf(const QString &path)
{
    struct stat status {};
    EXPECT_EQ(::lstat(QFile::encodeName(path).constData(), &status), 0) << path.toStdString();
    return status.st_mode;
}

// A socket file nobody listens on, as a killed instance leaves it.
void leaveStaleSocket(const QString &path)
{
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray native = QFile::encodeName(path);
    std::copy(native.begin(), native.end(), address.sun_path);
    ASSERT_EQ(::bind(descriptor, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    ::close(descriptor);
    ASSERT_TRUE(QFile::exists(path));
}

QString socketIn(const QTemporaryDir &runtime)
{
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    return CaptureInstanceSocket::path();
}

class CaptureInstanceTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_runtime.isValid());
        QObject::connect(&m_server, &CaptureInstanceServer::requested,
                         [this](const CaptureRequest &request, CaptureInstanceReply *reply) {
                             m_received.append(request);
                             if (request.returnsImage)
                                 reply->send(CaptureOutcome{CaptureOutcome::Kind::image, "PNG bytes", {}});
                         });
    }
    void TearDown() override { qunsetenv("XDG_RUNTIME_DIR"); }

    // Sends from another thread while this one serves.
    std::optional<CaptureOutcome> send(const CaptureRequest &request, const QString &path)
    {
        QFuture<std::optional<CaptureOutcome>> sent =
            QtConcurrent::run([=] { return CaptureInstanceClient::send(path, request); });
        EXPECT_TRUE(QTest::qWaitFor([&] { return sent.isFinished(); }, 10000));
        return sent.result();
    }

    // Writes `data` raw and reports whether the server hung up on it.
    bool droppedAfterWriting(const QByteArray &data)
    {
        QLocalSocket socket;
        socket.connectToServer(m_path);
        EXPECT_TRUE(socket.waitForConnected(1000));
        socket.write(data);
        socket.flush();
        return QTest::qWaitFor([&] { return socket.state() == QLocalSocket::UnconnectedState; }, 3000) &&
               socket.readAll().isEmpty();
    }

    QTemporaryDir m_runtime;
    const QString m_path = socketIn(m_runtime);
    CaptureInstanceServer m_server{m_path};
    QList<CaptureRequest> m_received;
};

TEST_F(CaptureInstanceTest, SocketSitsInAFolderOnlyThisUserCanEnter)
{
    EXPECT_EQ(m_path, m_runtime.filePath("tavimo-capture/instance"));
    EXPECT_EQ(modeOf(m_runtime.filePath("tavimo-capture")) & 07777, 0700u);
    ASSERT_EQ(m_server.listen(), CaptureInstanceServer::Start::listening);
    EXPECT_TRUE(S_ISSOCK(modeOf(m_path)));
    EXPECT_EQ(modeOf(m_path) & 077, 0u);

    const QString planted = m_runtime.filePath("planted");
    ASSERT_TRUE(QDir().mkdir(planted));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(planted));
    ASSERT_TRUE(QDir().mkdir(planted + "/tavimo-capture"));
    ::chmod(QFile::encodeName(planted + "/tavimo-capture").constData(), 0755);
    EXPECT_THROW(CaptureInstanceSocket::path(), CaptureInstanceError) << "open to others";
    ::chmod(QFile::encodeName(planted + "/tavimo-capture").constData(), 0700);
    EXPECT_NO_THROW(CaptureInstanceSocket::path());
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(QFile::encodeName(planted + "/tavimo-capture").constData(), 65534, 65534), 0);
        EXPECT_THROW(CaptureInstanceSocket::path(), CaptureInstanceError) << "another user's folder";
    }
    ASSERT_TRUE(QDir(planted + "/tavimo-capture").removeRecursively());
    ASSERT_TRUE(QFile::link(m_runtime.filePath("tavimo-capture"), planted + "/tavimo-capture"));
    EXPECT_THROW(CaptureInstanceSocket::path(), CaptureInstanceError) << "a link";

    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(planted + "/missing"));
    EXPECT_THROW(CaptureInstanceSocket::path(), CaptureInstanceError) << "a folder that cannot be made";

    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", QFile::encodeName(planted));
    EXPECT_EQ(CaptureInstanceSocket::path(), planted + QStringLiteral("/tavimo-capture-%1/instance").arg(::geteuid()));
    EXPECT_EQ(modeOf(planted + QStringLiteral("/tavimo-capture-%1").arg(::geteuid())) & 07777, 0700u);
    qunsetenv("TMPDIR");
}

TEST_F(CaptureInstanceTest, LaterStartsHandTheirRequestsToTheRunningOne)
{
    EXPECT_FALSE(send(CaptureRequest{}, m_path)) << "nobody listens yet";
    ASSERT_EQ(m_server.listen(), CaptureInstanceServer::Start::listening);

    const CaptureRequest open = CaptureRequest::opening("/tmp/elsewhere/a.png");
    const std::optional<CaptureOutcome> accepted = send(open, m_path);
    ASSERT_TRUE(accepted);
    EXPECT_EQ(accepted->kind, CaptureOutcome::Kind::accepted);
    const CaptureRequest screen = CaptureRequest::capture(CaptureMode::screen, 0, true);
    const std::optional<CaptureOutcome> image = send(screen, m_path);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->kind, CaptureOutcome::Kind::image);
    EXPECT_EQ(image->png, "PNG bytes");
    EXPECT_EQ(m_received, (QList<CaptureRequest>{open, screen}));

    CaptureInstanceServer second(m_path);
    EXPECT_EQ(second.listen(), CaptureInstanceServer::Start::anotherInstanceRuns);
    EXPECT_TRUE(QFile::exists(m_path));
}

TEST_F(CaptureInstanceTest, ASocketLeftByAKilledInstanceIsTakenOver)
{
    leaveStaleSocket(m_path);
    EXPECT_FALSE(send(CaptureRequest{}, m_path));
    ASSERT_EQ(m_server.listen(), CaptureInstanceServer::Start::listening);
    ASSERT_TRUE(send(CaptureRequest{}, m_path));
    EXPECT_EQ(m_received.size(), 1);
}

TEST_F(CaptureInstanceTest, GarbageAndOversizedRequestsAreDroppedAndTheServerCarriesOn)
{
    ASSERT_EQ(m_server.listen(), CaptureInstanceServer::Start::listening);
    const QByteArray megabyte(1024 * 1024, 'x');
    EXPECT_TRUE(droppedAfterWriting(megabyte));
    // What the reader refuses is told apart in its own test; one refusal stands for them here.
    EXPECT_TRUE(droppedAfterWriting(CaptureInstanceFrame::framed("not json at all")));
    EXPECT_TRUE(m_received.isEmpty());

    const std::optional<CaptureOutcome> outcome = send(CaptureRequest{}, m_path);
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->kind, CaptureOutcome::Kind::accepted);
    EXPECT_EQ(m_received.size(), 1);
}

TEST(CaptureInstanceFrame, ReadsWholeFramesOnly)
{
    const QByteArray frame = CaptureInstanceFrame::framed("abc");
    QByteArray payload;
    EXPECT_EQ(CaptureInstanceFrame::read(frame.left(2), 10, payload), CaptureInstanceFrame::State::incomplete);
    EXPECT_EQ(CaptureInstanceFrame::read(frame.left(6), 10, payload), CaptureInstanceFrame::State::incomplete);
    EXPECT_EQ(CaptureInstanceFrame::read(frame, 10, payload), CaptureInstanceFrame::State::complete);
    EXPECT_EQ(payload, "abc");
    EXPECT_EQ(CaptureInstanceFrame::read(frame, 2, payload), CaptureInstanceFrame::State::invalid);
    EXPECT_EQ(CaptureInstanceFrame::read(frame + "d", 10, payload), CaptureInstanceFrame::State::invalid);
}

TEST(CaptureRequestReader, ReadsOneRequestHoweverItArrivesAndRefusesEverythingElse)
{
    using enum CaptureRequestReader::State;
    const CaptureRequest opening = CaptureRequest::opening("/home/user/Pictures/shot.png");
    const QByteArray frame = CaptureInstanceFrame::framed(opening.encoded());
    const auto read = [](const QByteArray &stream, qsizetype piece) {
        CaptureRequestReader reader;
        for (qsizetype at = 0; at < stream.size() && reader.state() == waiting; at += piece)
            reader.add(QByteArrayView(stream).sliced(at, std::min(piece, stream.size() - at)));
        return reader;
    };
    for (const qsizetype piece : {qsizetype(1), qsizetype(3), frame.size()}) {
        const CaptureRequestReader reader = read(frame, piece);
        EXPECT_EQ(reader.state(), complete) << piece;
        EXPECT_EQ(reader.request(), opening) << piece;
    }
    const struct {
        const char *name;
        QByteArray stream;
        CaptureRequestReader::State state;
    } cases[] = {
        {"truncated", frame.left(frame.size() - 1), waiting},
        {"header only", frame.left(4), waiting},
        {"trailing bytes", frame + "x", refused},
        {"second request", frame + frame, refused},
        {"oversized length", QByteArray::fromHex("ffffffff") + "{}", refused},
        {"bad JSON", CaptureInstanceFrame::framed(R"({"action":"open","path":)"), refused},
        {"relative path", CaptureInstanceFrame::framed(R"({"action":"open","path":"shot.png"})"), refused},
        {"more than the limit at once", QByteArray(CaptureRequestReader::receiveLimit + 1, '{'), refused},
    };
    for (const auto &stream : cases) {
        SCOPED_TRACE(stream.name);
        const CaptureRequestReader reader = read(stream.stream, 5);
        EXPECT_EQ(reader.state(), stream.state);
        EXPECT_FALSE(reader.request());
    }
    CaptureRequestReader reader;
    EXPECT_EQ(reader.add(frame), complete);
    EXPECT_EQ(reader.add("x"), refused) << "one request per connection";
    EXPECT_FALSE(reader.request());
}

} // namespace
