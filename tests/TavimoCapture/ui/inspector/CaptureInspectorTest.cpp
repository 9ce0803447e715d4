#include "InspectorFixture.h"

#include "CaptureDecorationDefaults.h"

#include <QCheckBox>
#include <QFontInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

TEST_F(InspectorTest, TheStyleGroupFollowsTheToolAndTheSelection)
{
    document->setTool(CaptureTool::select);
    EXPECT_EQ(inspector->styleTitle(), QStringLiteral("Select style"));
    EXPECT_FALSE(slider("Line width"));
    EXPECT_FALSE(control("Delete selected annotation"));
    add(CaptureTool::oval, QRectF(10, 10, 50, 40));
    EXPECT_EQ(inspector->styleTitle(), QStringLiteral("Selected oval"));
    document->setTool(CaptureTool::arrow);
    document->select(QUuid());
    EXPECT_EQ(inspector->styleTitle(), QStringLiteral("Arrow style"));
}

// The magnifier shows and draws a wider shared outline as 20 (see the tool table
// test); the shared value itself stays for the tools that allow it.
TEST_F(InspectorTest, AValueBeyondOneToolsRangeStaysInTheSharedStyle)
{
    document->setTool(CaptureTool::freehand);
    slider("Line width")->setValue(30);
    document->setTool(CaptureTool::magnifier);
    EXPECT_EQ(slider("Outline width")->value(), 20);
    document->beginMagnifier(QPointF(20, 20), QPointF(60, 60));
    document->finishMagnifier(QPointF(150, 100), QPointF(250, 200));
    EXPECT_EQ(document->style().lineWidth, 30);
}

TEST_F(InspectorTest, SlidersAndTogglesWriteThroughTheDocument)
{
    document->setTool(CaptureTool::rectangle);
    slider("Line width")->setValue(17);
    EXPECT_EQ(document->style().lineWidth, 17);
    EXPECT_EQ(control<QLabel>("Line width:value")->text(), QStringLiteral("17 px"));
    control<QComboBox>("Appearance")->activated(2);
    EXPECT_EQ(document->style().shapeMode, CaptureShapeMode::spotlight);
    EXPECT_TRUE(slider("Outside opacity"));

    const quint64 revision = document->revision();
    slider("Padding")->setValue(20);
    slider("Padding")->setValue(21);
    EXPECT_EQ(document->composition().padding, 21);
    EXPECT_EQ(document->revision(), revision + 2);
    document->undo();
    EXPECT_EQ(document->composition().padding, 20);
    EXPECT_EQ(slider("Padding")->value(), 20);
}

TEST_F(InspectorTest, MagnifierFiguresForAPlacedLens)
{
    CaptureAnnotation lens;
    lens.tool = CaptureTool::magnifier;
    lens.start = QPointF(10, 10);
    lens.end = QPointF(130, 90);
    lens.destination = QRectF(200, 10, 300, 200);
    EXPECT_EQ(CaptureInspector::magnifierFigures(lens),
              QStringList({"Source: 120 × 80 px", "Destination: 300 × 200 px", "Scale: 2.50×"}));
    lens.end = QPointF(10, 90);
    EXPECT_EQ(CaptureInspector::magnifierFigures(lens).last(), QStringLiteral("Scale: 2.50×"));

    document->setTool(CaptureTool::magnifier);
    document->beginMagnifier(QPointF(10, 10), QPointF(130, 90));
    document->finishMagnifier(QPointF(200, 100), QPointF(500, 300));
    EXPECT_EQ(inspector->styleTitle(), QStringLiteral("Selected magnifier"));
    EXPECT_EQ(control<QLabel>("figure:0")->text(), QStringLiteral("Source: 120 × 80 px"));
    EXPECT_EQ(control<QLabel>("figure:2")->text(), QStringLiteral("Scale: 2.50×"));
}

TEST_F(InspectorTest, TheFontListHoldsTheCurrentFontInItsSortedPlace)
{
    EXPECT_EQ(CaptureInspector::fontFamilies("Baskerville").indexOf("Baskerville"), 1);
    document->setTool(CaptureTool::text);
    QComboBox *fonts = control<QComboBox>("Font");
    ASSERT_TRUE(fonts);
    EXPECT_EQ(fonts->count(), CaptureInspector::fontFamilies("System").size());
    EXPECT_EQ(fonts->currentText(), QStringLiteral("System"));
    control<QToolButton>("Italic")->click();
    EXPECT_TRUE(document->style().italic);
}

// A font outside the presets stands in the list while it is current and
// leaves it when another font is chosen; every entry shows the font it gets.
TEST_F(InspectorTest, TheFontPickerFollowsAFontOutsideThePresets)
{
    document->setTool(CaptureTool::text);
    for (const QString &name :
         {QStringLiteral("DejaVu Serif"), QStringLiteral("Zapfino Display"), QStringLiteral("Georgia")}) {
        CaptureStyle style = document->style();
        style.fontName = name;
        document->setStyle(style);
        auto *picker = control<QComboBox>("Font");
        ASSERT_TRUE(picker);
        EXPECT_EQ(picker->currentText(), name);
        QStringList listed;
        for (int index = 0; index < picker->count(); ++index) {
            listed.append(picker->itemText(index));
            CaptureStyle entry;
            entry.fontName = picker->itemText(index);
            const QString resolved = QFontInfo(entry.font()).family();
            const QFont shown = picker->itemData(index, Qt::FontRole).value<QFont>();
            EXPECT_EQ(QFontInfo(shown).family(), resolved) << listed.last().toStdString();
            EXPECT_TRUE(picker->itemData(index, Qt::ToolTipRole).toString().contains(resolved));
        }
        EXPECT_EQ(listed, CaptureInspector::fontFamilies(name));
    }
    control<QComboBox>("Font")->activated(0);
    EXPECT_EQ(document->style().fontName, CaptureInspector::fontFamilies(QStringLiteral("Georgia")).first());
}

TEST_F(InspectorTest, TheLegendFieldClampsAndHidesWhileFitting)
{
    EXPECT_FALSE(control<QLineEdit>("Legend dimension"));
    control<QCheckBox>("Fit to content")->click();
    QLineEdit *field = control<QLineEdit>("Legend dimension");
    ASSERT_TRUE(field);
    EXPECT_EQ(field->accessibleName(), QStringLiteral("Legend height in pixels"));
    field->setText("5000");
    emit field->editingFinished();
    EXPECT_EQ(document->composition().legend.height, 4096);
    field->setText("10");
    emit field->editingFinished();
    EXPECT_EQ(document->composition().legend.height, 80);
    CaptureInspector::setLegendDimension(*document, std::nan(""));
    EXPECT_EQ(document->composition().legend.height, 320);
    control<QComboBox>("Position")->activated(1);
    EXPECT_EQ(control<QLineEdit>("Legend dimension")->accessibleName(), QStringLiteral("Legend width in pixels"));
    control<QCheckBox>("Fit to content")->click();
    EXPECT_FALSE(control<QLineEdit>("Legend dimension"));
}

TEST_F(InspectorTest, LegendRowsEditTheDescriptions)
{
    document->setTool(CaptureTool::number);
    document->finishGesture(QPointF(20, 20), QPointF(20, 20));
    auto *field = control<QPlainTextEdit>("Description for marker 1");
    ASSERT_TRUE(field);
    field->setPlainText("First step");
    EXPECT_EQ(document->legendEntries().first().text, QStringLiteral("First step"));
}

TEST_F(InspectorTest, SaveAsDefaultStoresTheBoardFrameAndResetAlwaysShowsItsNotice)
{
    slider("Padding")->setValue(24);
    defaults->remove(CaptureDecorationDefaults::key);
    control<QPushButton>("Save as default")->click();
    EXPECT_EQ(workspace->notice(), QStringLiteral("Background saved as the default for new captures"));
    EXPECT_EQ(CaptureDecorationDefaults::load(*defaults).padding, 24);
    control<QPushButton>("Reset default")->click();
    EXPECT_FALSE(defaults->contains(CaptureDecorationDefaults::key));
    EXPECT_EQ(workspace->notice(), QStringLiteral("New captures will use the original transparent background"));
    EXPECT_EQ(document->composition().padding, 24);
}

TEST_F(InspectorTest, SaveAsDefaultWithNoCaptureDoesNothing)
{
    // With no capture the panel shows no controls; the button of a panel made
    // while a capture was open is guarded.
    auto *save = control<QPushButton>("Save as default");
    ASSERT_TRUE(save);
    panels.answerAlerts(2);
    workspace->closeCapture();
    ASSERT_FALSE(workspace->board());
    EXPECT_FALSE(control<QPushButton>("Save as default"));
    workspace->setNotice(QString());
    defaults->remove(CaptureDecorationDefaults::key);
    save->click();
    EXPECT_TRUE(workspace->notice().isEmpty());
    EXPECT_FALSE(defaults->contains(CaptureDecorationDefaults::key));
}
