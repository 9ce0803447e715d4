#include <QApplication>
#include <QImageReader>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavimo Capture"));
    QApplication::setDesktopFileName(QStringLiteral("local.tavimo.capture"));
    // An 80-megapixel image needs more than Qt's default 128 MB.
    QImageReader::setAllocationLimit(1024);

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Tavimo Capture"));
    window.resize(1320, 820);
    window.show();
    return application.exec();
}
