#include "CaptureApplication.h"

#include <QImageReader>

CaptureApplication::CaptureApplication(int &argc, char **argv) : m_application(argc, argv)
{
    QApplication::setApplicationName(QStringLiteral("Tavimo Capture"));
    QApplication::setDesktopFileName(QStringLiteral("local.tavimo.capture"));
    // An 80-megapixel image needs more than Qt's default 128 MB.
    QImageReader::setAllocationLimit(1024);
    m_translations.install();

    m_window.setWindowTitle(QStringLiteral("Tavimo Capture"));
    m_window.resize(1320, 820);
}

int CaptureApplication::run()
{
    m_window.show();
    return QApplication::exec();
}
