#include "WorkspaceTest.h"

#include "CaptureOCRFailure.h"

// Scripted recognition that records the size of each image it is given. The
// pool thread's writes are read after the workspace reports the result.
class RecognitionTest : public WorkspaceTest {
protected:
    void script(const QString &text)
    {
        recognition.recognize = [seen = m_seen, text](const QImage &image) {
            seen->append(image.size());
            return text;
        };
        makeWorkspace();
    }

    void script(const QList<CaptureOCRRegion> &regions)
    {
        recognition.regions = [seen = m_seen, regions](const QImage &image) {
            seen->append(image.size());
            return regions;
        };
        makeWorkspace();
    }

    std::shared_ptr<QList<QSize>> m_seen = std::make_shared<QList<QSize>>();
};

TEST_F(RecognitionTest, RecognisedTextOfTheContentImageIsShownAndClosingWaits)
{
    script("Hello\nworld");
    workspace->recognizeText();
    EXPECT_FALSE(workspace->recognizing()) << "nothing open";

    CaptureDocument &document = open(QSize(90, 60));
    CaptureComposition framed;
    framed.padding = 30;
    document.setComposition(framed);
    panels.answerAlerts(2);
    workspace->recognizeText();
    workspace->recognizeText();
    workspace->closeCapture();
    EXPECT_TRUE(panels.alerts.isEmpty()) << "closing while recognition runs does nothing";
    waitWhile(&CaptureWorkspace::recognizing);

    EXPECT_EQ(*m_seen, QList<QSize>{QSize(90, 60)}) << "once, and without the frame";
    EXPECT_EQ(workspace->recognizedText(), QString("Hello\nworld"));
    workspace->closeCapture();
    EXPECT_FALSE(workspace->document());

    script("");
    open();
    workspace->recognizeText();
    waitWhile(&CaptureWorkspace::recognizing);
    EXPECT_EQ(workspace->recognizedText(), QString(""));
    EXPECT_EQ(workspace->notice(), "No text found in this image");
}

TEST_F(RecognitionTest, AResultForEditedOrReplacedContentIsDropped)
{
    script("stale words");
    script(QList<CaptureOCRRegion>{{QRectF(1, 1, 20, 10), "word"}});
    const struct {
        const char *name;
        void (CaptureWorkspace::*start)();
        bool (CaptureWorkspace::*running)() const;
    } actions[] = {{"recognition", &CaptureWorkspace::recognizeText, &CaptureWorkspace::recognizing},
                   {"detection", &CaptureWorkspace::findTextRegions, &CaptureWorkspace::detectingText}};
    for (const auto &action : actions) {
        for (const bool replaced : {false, true}) {
            SCOPED_TRACE(std::string(action.name) + (replaced ? " replaced" : " edited"));
            open();
            const std::shared_ptr<CaptureDocument> first = workspace->document();
            (workspace.get()->*action.start)();
            if (replaced)
                open();
            else
                addRectangle(*first);
            workspace->setNotice("kept");
            waitWhile(action.running);
            EXPECT_FALSE(workspace->recognizedText());
            EXPECT_TRUE(first->detectedTextRects().isEmpty());
            EXPECT_TRUE(workspace->document()->detectedTextRects().isEmpty());
            EXPECT_EQ(workspace->notice(), "kept");
        }
    }
}

TEST_F(RecognitionTest, RecognitionAndDetectionFailuresAreReported)
{
    recognition.recognize = [](const QImage &) -> QString {
        throw CaptureOCRError(CaptureOCRFailure::failed);
    };
    makeWorkspace();
    open();
    shown = 0;
    workspace->recognizeText();
    waitWhile(&CaptureWorkspace::recognizing);
    EXPECT_EQ(workspace->notice(), description(CaptureOCRFailure::failed));
    EXPECT_FALSE(workspace->recognizedText());

    workspace->findTextRegions();
    waitWhile(&CaptureWorkspace::detectingText);
    // An unexpected exception's own text goes to the log, never to the user.
    EXPECT_EQ(workspace->notice(), "The action could not be completed. Try again.");
    EXPECT_EQ(shown, 2);
}

TEST_F(RecognitionTest, DetectedWordsMoveFromTheCropIntoTheSourceImage)
{
    script(QList<CaptureOCRRegion>{{QRectF(10, 20, 30, 10), "word"}});
    CaptureDocument &document = open(QSize(800, 600));
    document.setTool(CaptureTool::crop);
    document.finishGesture(QPointF(200, 100), QPointF(600, 400));
    workspace->findTextRegions();
    EXPECT_FALSE(workspace->canCloseCapture());
    waitWhile(&CaptureWorkspace::detectingText);

    EXPECT_EQ(*m_seen, QList<QSize>{QSize(400, 300)});
    // (210, 120, 30, 10) in the source, grown by 3 for the highlight.
    EXPECT_EQ(document.detectedTextRects(), QList<QRectF>{QRectF(207, 117, 36, 16)});
    EXPECT_TRUE(workspace->canCloseCapture());

    script(QList<CaptureOCRRegion>{});
    CaptureDocument &blank = open();
    workspace->findTextRegions();
    waitWhile(&CaptureWorkspace::detectingText);
    EXPECT_TRUE(blank.detectedTextRects().isEmpty());
    EXPECT_EQ(workspace->notice(), "No text detected. Drag to hide an area manually.");
}
