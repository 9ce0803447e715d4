#include "TestFiles.h"
#include "TestX11Client.h"
#include "X11PatternWindow.h"
#include "X11ScreenGrabber.h"

#include <QClipboard>
#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QRasterWindow>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QRect windowArea(100, 80, 400, 300);

// Black words on white, large enough to read.
class TextWindow : public QRasterWindow {
public:
    TextWindow()
    {
        setFlags(Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint);
        setGeometry(windowArea);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QRect area(QPoint(), size());
        painter.fillRect(area, Qt::white);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(44);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(area, Qt::AlignCenter, QStringLiteral("INVOICE 2048"));
    }
};

bool windowShown(const QString &title)
{
    return TestX11Client::xdotool({"search", "--onlyvisible", "--name", "^" + title + "$"});
}

class CaptureEndToEndTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_home.isValid() && m_screen); }
    void TearDown() override
    {
        m_app.terminate();
        m_app.waitForFinished();
    }

    QString path(const QString &name) const { return m_home.filePath(name); }

    // Starts tavimo-capture with private folders whose settings turn automatic save on.
    void startApp()
    {
        QDir().mkpath(path(".config/TavimoCapture"));
        QDir().mkpath(path("tmp"));
        writeFile(path(".config/TavimoCapture/defaults.json"), R"({"capture.autoSave": true})");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", m_home.path());
        environment.insert("XDG_CONFIG_HOME", path(".config"));
        environment.insert("XDG_DATA_HOME", path(".local/share"));
        environment.insert("TMPDIR", path("tmp"));
        environment.remove("TAVIMO_SCREENCAPTURE");
        m_app.setProcessEnvironment(environment);
        m_app.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_app.start(TAVIMO_CAPTURE_PATH, {});
        ASSERT_TRUE(m_app.waitForStarted());
        ASSERT_TRUE(QTest::qWaitFor([] { return windowShown("Tavimo Capture"); }, 20000)) << "no editor";
    }

    // Presses the hot key and drags across `area` once the overlay dims the shown window.
    void captureDragging(const QString &hotKey, const QImage &shown, const QRect &area)
    {
        const QRect probe(windowArea.topLeft() + QPoint(5, 5), QSize(1, 1));
        const QImage undimmed = shown.copy(QRect(QPoint(5, 5), QSize(1, 1)));
        ASSERT_TRUE(TestX11Client::xdotool({"mousemove", "700", "600"}));
        ASSERT_TRUE(TestX11Client::press(hotKey));
        ASSERT_TRUE(QTest::qWaitFor([&] { return m_screen->grab(probe) != undimmed; }, 10000)) << "no overlay";
        const QPoint middle = area.center();
        ASSERT_TRUE(
            TestX11Client::xdotool({"mousemove", QString::number(area.left()), QString::number(area.top()), "mousedown",
                                    "1", "mousemove", QString::number(middle.x()), QString::number(middle.y()),
                                    "mousemove", QString::number(area.left() + area.width()),
                                    QString::number(area.top() + area.height()), "mouseup", "1"}));
    }

    QStringList filesIn(const QString &folder) const
    {
        QStringList files;
        QDirIterator it(path(folder), {"*.png"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files.append(it.next());
        return files;
    }

    QTemporaryDir m_home;
    std::unique_ptr<X11ScreenGrabber> m_screen = X11ScreenGrabber::connect();
    QProcess m_app;
};

TEST_F(CaptureEndToEndTest, AreaCaptureGoesEverywhereAndTextCaptureOnlyToTheClipboard)
{
    // Shown after the editor, so that it lies above it.
    startApp();
    X11PatternWindow window(windowArea);
    ASSERT_TRUE(window.showOn(*m_screen));
    captureDragging("ctrl+shift+2", window.pattern(), QRect(150, 100, 200, 160));
    const QImage expected = window.pattern().copy(50, 20, 200, 160);

    ASSERT_TRUE(QTest::qWaitFor([] { return windowShown("Capture Thumbnail"); }, 10000)) << "no thumbnail";
    QImage copied;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const QMimeData *data = QGuiApplication::clipboard()->mimeData();
            copied = QImage::fromData(data ? data->data("image/png") : QByteArray(), "PNG");
            return !copied.isNull();
        },
        10000));
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32), expected);

    const QString today = QDate::currentDate().toString("yyyyMMdd");
    const QStringList saved = filesIn("Documents/Capture/" + today);
    ASSERT_EQ(saved.size(), 1);
    EXPECT_TRUE(QFileInfo(saved[0]).fileName().startsWith("Area-"));
    EXPECT_EQ(QImage(saved[0]).convertToFormat(QImage::Format_RGB32), expected);
    EXPECT_EQ(filesIn(".local/share/TavimoCapture/History").size(), 1);

    EXPECT_TRUE(QTest::qWaitFor([] { return !windowShown("Capture Thumbnail"); }, 9000)) << "thumbnail stays";

    window.hide();
    TextWindow text;
    text.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&text));
    QTest::qWait(300);
    captureDragging("ctrl+shift+o", m_screen->grab(windowArea), windowArea.adjusted(10, 10, -10, -10));
    EXPECT_TRUE(QTest::qWaitFor([] { return QGuiApplication::clipboard()->text().contains("INVOICE 2048"); }, 30000))
        << QGuiApplication::clipboard()->text().toStdString();
    EXPECT_EQ(filesIn("Documents/Capture").size(), 1) << "text captures are not saved";
    EXPECT_EQ(filesIn(".local/share/TavimoCapture/History").size(), 1);
}

} // namespace
