// A small window around the editor of one image (tool row, canvas and
// inspector, as the app shows them), for trying the editor by hand:
//   build/bench/editor/editor_harness [IMAGE]
// With --shots FOLDER it draws a few marks and saves two screenshots, light
// and dark (canvas with marks and the inspector for a selected arrow; the
// inspector for the magnifier), then quits.
#include "AppTheme.h"
#include "AppearancePicker.h"
#include "CaptureCanvasView.h"
#include "CaptureDocumentView.h"
#include "CapturePanels.h"
#include "CaptureSystemClipboard.h"
#include "CaptureWorkspace.h"
#include "UserDefaults.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLinearGradient>
#include <QMessageBox>
#include <QPainter>
#include <QShortcut>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>

namespace {

class DialogPanels : public CapturePanels {
public:
    std::optional<QString> chooseFileToOpen(const QStringList &) override
    {
        const QString path = QFileDialog::getOpenFileName(nullptr, QStringLiteral("Open Image"));
        return path.isEmpty() ? std::nullopt : std::optional(path);
    }
    std::optional<QString> chooseSaveDestination(const QString &fileName, const QString &) override
    {
        const QString path = QFileDialog::getSaveFileName(nullptr, QStringLiteral("Save Image"), fileName);
        return path.isEmpty() ? std::nullopt : std::optional(path);
    }
    qsizetype runAlert(const CaptureAlert &) override { return 0; }
};

QImage sampleImage()
{
    QImage image(1280, 800, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, 800);
    sky.setColorAt(0, QColor(70, 110, 170));
    sky.setColorAt(1, QColor(200, 215, 235));
    painter.fillRect(image.rect(), sky);
    painter.fillRect(QRect(120, 90, 1040, 620), QColor(250, 250, 250));
    painter.fillRect(QRect(120, 90, 1040, 44), QColor(225, 228, 232));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(22);
    painter.setFont(font);
    painter.setPen(QColor(40, 40, 40));
    const char *lines[] = {"Account settings",          "Name: Alex Example",    "Email: alex@example.com",
                           "Card: 4242 4242 4242 4242", "Plan: Team (12 seats)", "Renews on 1 March"};
    for (int line = 0; line < 6; ++line)
        painter.drawText(QPointF(170, 200 + 70 * line), QString::fromLatin1(lines[line]));
    painter.fillRect(QRect(860, 560, 220, 60), QColor(0, 118, 125));
    painter.setPen(Qt::white);
    painter.drawText(QRect(860, 560, 220, 60), Qt::AlignCenter, QStringLiteral("Save changes"));
    return image;
}

void add(CaptureDocument &d, CaptureTool tool, QPointF from, QPointF to)
{
    d.setTool(tool);
    d.finishGesture(from, to);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QImageReader::setAllocationLimit(1024);
    QTemporaryDir settings;
    UserDefaults defaults(settings.filePath(QStringLiteral("defaults.json")));
    DialogPanels panels;
    CaptureSystemClipboard clipboard;
    CaptureWorkspace workspace(defaults, panels, clipboard, [](TavimoEvent) {});

    QStringList arguments = application.arguments();
    QString shots;
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--shots")); at >= 0 && at + 1 < arguments.size()) {
        shots = arguments.at(at + 1);
        arguments.remove(at, 2);
    }
    QImage image = arguments.size() > 1 ? QImage(arguments.at(1)) : QImage();
    workspace.accept(image.isNull() ? sampleImage() : image);
    CaptureDocument *document = workspace.document().get();

    QWidget window;
    window.setWindowTitle(QStringLiteral("Tavimo Capture editor harness"));
    auto *column = new QVBoxLayout(&window);
    column->setContentsMargins(0, 0, 0, 0);
    auto *editor = new CaptureDocumentView(workspace, defaults, clipboard, &window);
    column->addWidget(editor, 1);
    auto *bottom = new QHBoxLayout;
    bottom->setContentsMargins(12, 0, 12, 8);
    bottom->addStretch(1);
    bottom->addWidget(new AppearancePicker(defaults, &window));
    column->addLayout(bottom);
    window.resize(1320, 860);
    window.show();
    if (auto *canvas = editor->findChild<CaptureCanvasView *>())
        canvas->setFocus();

    if (shots.isEmpty())
        return application.exec();

    QDir().mkpath(shots);
    const auto shoot = [&](const QString &name) {
        for (const QString &appearance : {QStringLiteral("light"), QStringLiteral("dark")}) {
            AppTheme::apply(appearance);
            QApplication::processEvents();
            window.grab().save(QStringLiteral("%1/%2-%3.png").arg(shots, name, appearance));
        }
    };
    CaptureDocument &d = *document;
    CaptureStyle style = d.style();
    add(d, CaptureTool::rectangle, QPointF(150, 250), QPointF(620, 320));
    add(d, CaptureTool::redact, QPointF(255, 312), QPointF(560, 340));
    d.setDetectedTextRects({});
    add(d, CaptureTool::number, QPointF(140, 190), QPointF(140, 190));
    add(d, CaptureTool::number, QPointF(140, 400), QPointF(140, 400));
    d.setText(QStringLiteral("Renewal date"));
    add(d, CaptureTool::text, QPointF(700, 540), QPointF(700, 540));
    d.setLegendEnabled(true);
    const QList<CaptureLegendEntry> entries = d.legendEntries();
    d.setLegendText(entries[0].id, QStringLiteral("Section title"));
    d.setLegendText(entries[1].id, QStringLiteral("Plan and seats"));
    style.arrowCurved = true;
    d.setStyle(style);
    add(d, CaptureTool::arrow, QPointF(980, 380), QPointF(1080, 560));
    d.setTool(CaptureTool::select);
    shoot(QStringLiteral("canvas-arrow-inspector"));

    d.setTool(CaptureTool::magnifier);
    d.beginMagnifier(QPointF(860, 560), QPointF(1080, 620));
    d.finishMagnifier(QPointF(700, 630), QPointF(1140, 750));
    shoot(QStringLiteral("magnifier-inspector"));
    return 0;
}
