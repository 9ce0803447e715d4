#include "CaptureDocumentView.h"
#include "CaptureInspector.h"
#include "CaptureSystemClipboard.h"
#include "CaptureToolButton.h"
#include "ControlLookup.h"
#include "WorkspaceTest.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <algorithm>

namespace {

// The editor of one image over a workspace whose recognition answers at once
// with a fixed text; the clipboard is the offscreen platform's own.
class DocumentViewTest : public WorkspaceTest {
protected:
    DocumentViewTest()
    {
        recognition.recognize = [](const QImage &) {
            return QStringLiteral("Invoice 42\nTotal: 17 €");
        };
        makeWorkspace();
        open(QSize(320, 200));
        makeView();
    }

    void makeView()
    {
        view = std::make_unique<CaptureDocumentView>(*workspace, *defaults, systemClipboard);
        view->resize(1100, 700);
        view->show();
        QCoreApplication::processEvents();
    }

    QToolButton *command(const QString &title) const { return find<QToolButton>(*view, title); }

    CaptureSystemClipboard systemClipboard;
    std::unique_ptr<CaptureDocumentView> view;
};

TEST_F(DocumentViewTest, ToolRowHasOneButtonPerToolAndUndoFollowsTheDocument)
{
    const QList<CaptureToolButton *> tools = view->findChildren<CaptureToolButton *>();
    ASSERT_EQ(tools.size(), qsizetype(allCases<CaptureTool>().size()));
    QToolButton *undo = command(QStringLiteral("Undo"));
    EXPECT_EQ(undo->toolTip(), QStringLiteral("Undo last change"));
    EXPECT_FALSE(undo->isEnabled());
    addRectangle(*workspace->document());
    EXPECT_TRUE(undo->isEnabled());
    undo->click();
    EXPECT_TRUE(workspace->document()->annotations().isEmpty());
    EXPECT_FALSE(undo->isEnabled());

    // A new capture brings its own document to the tools.
    CaptureDocument &next = open(QSize(64, 64));
    tools.first()->click();
    EXPECT_EQ(next.tool(), tools.first()->tool());
}

// The hint under the tools is the current tool's next step: the magnifier's
// changes once its source is drawn.
TEST_F(DocumentViewTest, TheHintFollowsTheToolAndTheMagnifiersSteps)
{
    const QList<CaptureToolButton *> tools = view->findChildren<CaptureToolButton *>();
    const auto magnifier = std::find_if(tools.cbegin(), tools.cend(), [](const CaptureToolButton *button) {
        return button->tool() == CaptureTool::magnifier;
    });
    ASSERT_NE(magnifier, tools.cend());
    (*magnifier)->click();
    EXPECT_TRUE(find<QLabel>(*view, QStringLiteral("First, drag over the source area to magnify.")));
    workspace->document()->beginMagnifier(QPointF(10, 10), QPointF(50, 40));
    EXPECT_TRUE(find<QLabel>(*view, QStringLiteral("Now drag the enlarged destination. Escape cancels. Move and "
                                                   "resize both areas independently with Select.")));
    tools.first()->click();
    EXPECT_TRUE(find<QLabel>(
        *view, QStringLiteral("Click an annotation to select it. Drag to move; use arrow handles to reshape.")));
}

TEST_F(DocumentViewTest, InspectorVisibilityIsRememberedAcrossViews)
{
    auto *inspector = view->findChild<CaptureInspector *>();
    EXPECT_TRUE(inspector->isVisible());
    command(QStringLiteral("Hide inspector"))->click();
    EXPECT_FALSE(inspector->isVisible());
    EXPECT_EQ(defaults->boolValue(CaptureDocumentView::showInspectorKey), false);
    ASSERT_NE(command(QStringLiteral("Show inspector")), nullptr);

    makeView();
    EXPECT_FALSE(view->findChild<CaptureInspector *>()->isVisible());
    command(QStringLiteral("Show inspector"))->click();
    EXPECT_TRUE(view->findChild<CaptureInspector *>()->isVisible());
}

TEST_F(DocumentViewTest, ExtractedTextIsShownAndCopiedAsPlainTextOnly)
{
    auto *stale = new QMimeData;
    stale->setImageData(QImage(QSize(4, 4), QImage::Format_RGB32));
    stale->setHtml(QStringLiteral("<b>old</b>"));
    QGuiApplication::clipboard()->setMimeData(stale);

    QToolButton *extract = command(QStringLiteral("Extract text"));
    extract->click();
    EXPECT_FALSE(extract->isEnabled());
    waitWhile(&CaptureWorkspace::recognizing);
    EXPECT_TRUE(extract->isEnabled());
    auto *text = view->findChild<QPlainTextEdit *>();
    ASSERT_TRUE(text->isVisible());
    EXPECT_EQ(text->toPlainText(), QStringLiteral("Invoice 42\nTotal: 17 €"));

    find<QPushButton>(*view, QStringLiteral("Copy Text"))->click();
    EXPECT_EQ(workspace->notice(), QStringLiteral("Text copied"));
    const QMimeData *copied = QGuiApplication::clipboard()->mimeData();
    EXPECT_EQ(copied->text(), QStringLiteral("Invoice 42\nTotal: 17 €"));
    EXPECT_FALSE(copied->hasImage());
    EXPECT_FALSE(copied->hasHtml());

    command(QStringLiteral("Close recognized text"))->click();
    EXPECT_EQ(workspace->recognizedText(), std::nullopt);
    EXPECT_FALSE(text->isVisible());
}

} // namespace
