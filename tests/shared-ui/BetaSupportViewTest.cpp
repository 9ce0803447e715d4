#include "BetaSupportView.h"
#include "FeedbackMenuItems.h"
#include "SignalsFixture.h"
#include "SupportWindow.h"
#include "TextClipboard.h"
#include "WidgetLookup.h"

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>

namespace {

const QString notConfigured = "Online reporting is not configured in this build. You can copy your report.";
const QString notDelivered =
    "Delivery could not be confirmed. Your message is preserved; retrying may duplicate a report.";

class PrivateClipboard : public TextClipboard {
public:
    void setText(const QString &text) override { this->text = text; }
    QString text;
};

class BetaSupportViewTest : public SignalsFixture {
protected:
    PrivateClipboard clipboard;
    std::unique_ptr<BetaSupportView> view;
    void open(bool configured = true)
    {
        launch("57", configured);
        view = std::make_unique<BetaSupportView>(*telemetry, clipboard);
    }
    QPlainTextEdit &editor() const { return *view->findChild<QPlainTextEdit *>(); }
    QAbstractButton &send() const { return *controlTitled(*view, "Send report"); }
    bool shows(const QString &text) const
    {
        const QLabel *label = labelContaining(*view, text);
        return label && !label->isHidden();
    }
    bool sendsWith(const QString &text)
    {
        editor().setPlainText(text);
        return send().isEnabled();
    }
};

TEST_F(BetaSupportViewTest, SendFollowsTheLengthLimitInUtf16Units)
{
    open();
    EXPECT_FALSE(send().isEnabled());
    EXPECT_TRUE(sendsWith(QString(2000, 'a')));
    EXPECT_FALSE(sendsWith(QString(2001, 'a')));
    const QString emoji = QString::fromUtf8("\xF0\x9F\x93\xB8");
    EXPECT_TRUE(sendsWith(emoji));
    EXPECT_TRUE(sendsWith(emoji.repeated(999) + "ab"));
    EXPECT_FALSE(sendsWith(emoji.repeated(1000) + "a"));
    EXPECT_FALSE(sendsWith("   \n\t\n  "));
}

TEST_F(BetaSupportViewTest, CopyPutsTheMessageAndAppDetailsOnTheClipboard)
{
    open();
    editor().setPlainText("The arrow tool snaps too early.");
    controlTitled(*view, "Copy report")->click();
    const AppSignalContext &context = telemetry->context();
    EXPECT_EQ(clipboard.text,
              "The arrow tool snaps too early.\n\nApp: local.tavimo.capture\nRelease: 0.4.0+57\nSystem: " + context.os +
                  "\nArchitecture: " + context.architecture + "\nMemory class: " + context.memoryClass);
    EXPECT_TRUE(client->reports.isEmpty());
}

TEST_F(BetaSupportViewTest, AnAcceptedReportIsClearedAndAFailedOneKept)
{
    open();
    telemetry->setFeedbackIsBug(true);
    editor().setPlainText("  Crashes when I pin.  ");
    send().click();
    ASSERT_EQ(client->reports.size(), 1);
    EXPECT_EQ(client->reports[0].message, "  Crashes when I pin.  ");
    EXPECT_TRUE(client->reports[0].bug);
    EXPECT_FALSE(send().isEnabled()) << "one report at a time";
    client->settleLastReport(true);
    ASSERT_TRUE(QTest::qWaitFor([this] { return shows("Report sent. Thank you."); }));
    EXPECT_TRUE(editor().toPlainText().isEmpty());
    telemetry->setFeedbackIsBug(false);
    editor().setPlainText("Please add a ruler.");
    send().click();
    ASSERT_EQ(client->reports.size(), 2);
    EXPECT_FALSE(client->reports[1].bug);
    client->settleLastReport(false);
    ASSERT_TRUE(QTest::qWaitFor([this] { return shows(notDelivered); }));
    EXPECT_EQ(editor().toPlainText(), "Please add a ruler.");
    EXPECT_TRUE(send().isEnabled()) << "the user may retry";
}

TEST_F(BetaSupportViewTest, AnUnconfiguredBuildOffersCopyOnly)
{
    open(false);
    EXPECT_TRUE(shows(notConfigured));
    EXPECT_FALSE(sendsWith("Hello"));
    EXPECT_TRUE(controlTitled(*view, "Copy report")->isEnabled());
}

TEST_F(BetaSupportViewTest, TheMenuItemsOpenOneWindowAndSwitchItsReportType)
{
    launch();
    QMenu menu;
    FeedbackMenuItems::addTo(menu, *telemetry);
    ASSERT_EQ(menu.actions().size(), 2);
    EXPECT_EQ(menu.actions()[1]->text(), "Report a bug…");
    menu.actions()[0]->trigger();
    QWidget *window = SupportWindow::of(*telemetry);
    ASSERT_TRUE(window);
    auto *content = window->findChild<BetaSupportView *>();
    ASSERT_TRUE(content);
    EXPECT_TRUE(controlTitled(*content, "Feedback")->isChecked());
    content->findChild<QPlainTextEdit *>()->setPlainText("Half-written thought");
    window->close();
    menu.actions()[1]->trigger();
    EXPECT_EQ(SupportWindow::of(*telemetry), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(telemetry->feedbackIsBug());
    EXPECT_TRUE(controlTitled(*content, "Bug report")->isChecked());
    EXPECT_EQ(content->findChild<QPlainTextEdit *>()->toPlainText(), "Half-written thought");
}

} // namespace
