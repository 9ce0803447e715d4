#include "WorkspaceTest.h"

#include "TestFiles.h"

#include <QImageReader>
#include <QSignalSpy>

#include <stdexcept>

WorkspaceTest::WorkspaceTest() : defaults(std::make_unique<UserDefaults>(path("defaults.json")))
{
    // As the app's main() does: Qt's default refuses images above 32 megapixels.
    QImageReader::setAllocationLimit(1024);
    recognition.recognize = [](const QImage &) -> QString {
        throw std::logic_error("no recognition scripted");
    };
    recognition.regions = [](const QImage &) -> QList<CaptureOCRRegion> {
        throw std::logic_error("no detection scripted");
    };
    makeWorkspace();
}

void WorkspaceTest::makeWorkspace()
{
    workspace.reset();
    workspace = std::make_unique<CaptureWorkspace>(
        *defaults, panels, clipboard, [this](TavimoEvent event) { events.append(event); },
        CaptureHistory(historyFolder()), recognition);
    workspace->setShow([this] { ++shown; });
}

CaptureDocument &WorkspaceTest::open(QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::darkCyan);
    workspace->accept(image);
    return *workspace->document();
}

void WorkspaceTest::openFile(const QString &name, const QByteArray &data, bool append)
{
    writeFile(path(name), data);
    panels.open = [this, name] {
        return path(name);
    };
    workspace->openImage(append);
}

void WorkspaceTest::addRectangle(CaptureDocument &document)
{
    document.setTool(CaptureTool::rectangle);
    document.finishGesture(QPointF(10, 10), QPointF(40, 30));
}

void WorkspaceTest::waitWhile(bool (CaptureWorkspace::*flag)() const)
{
    QSignalSpy changes(workspace.get(), &CaptureWorkspace::changed);
    while ((*workspace.*flag)())
        ASSERT_TRUE(changes.wait(20000));
}
