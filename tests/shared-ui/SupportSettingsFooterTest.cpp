#include "SupportSettingsFooter.h"
#include "SignalsFixture.h"
#include "SupportWindow.h"
#include "WidgetLookup.h"

#include <QToolButton>

namespace {

class SupportSettingsFooterTest : public SignalsFixture {
protected:
    std::unique_ptr<SupportSettingsFooter> footer;
    void show(bool configured = true)
    {
        launch("57", configured);
        footer = std::make_unique<SupportSettingsFooter>(*telemetry);
        footer->show();
    }
    QAbstractButton &usage() const { return *controlTitled(*footer, "Share usage statistics"); }
    QAbstractButton &city() const { return *controlTitled(*footer, "Include approximate city"); }
};

TEST_F(SupportSettingsFooterTest, TheSwitchesDriveAndFollowTheConsent)
{
    show();
    EXPECT_TRUE(usage().isChecked() && city().isChecked());
    usage().click();
    EXPECT_FALSE(telemetry->enabled());
    EXPECT_FALSE(city().isEnabled());
    EXPECT_TRUE(city().isChecked()) << "the city choice is kept";
    telemetry->setEnabled(true);
    EXPECT_TRUE(usage().isChecked() && city().isEnabled());
    city().click();
    EXPECT_FALSE(telemetry->locationEnabled());
    settle();
    EXPECT_FALSE(client->consents.last().location);
    EXPECT_FALSE(labelContaining(*footer, "sends no usage statistics")) << "a configured build";
}

TEST_F(SupportSettingsFooterTest, ABuildWithoutStatisticsSaysSoUnderTheGreyedSwitches)
{
    show(false);
    EXPECT_FALSE(usage().isEnabled() || city().isEnabled());
    QLabel *notSent = labelContaining(*footer, "This build sends no usage statistics.");
    ASSERT_TRUE(notSent);
    EXPECT_TRUE(notSent->isVisible());
    EXPECT_GT(notSent->mapTo(footer.get(), QPoint()).y(), usage().mapTo(footer.get(), QPoint()).y()) << "under them";
}

TEST_F(SupportSettingsFooterTest, ThePrivacyDetailsOpenFromTheInformationButton)
{
    show();
    footer->findChild<QToolButton *>()->click();
    QLabel *link = labelContaining(*footer, "Privacy policy");
    ASSERT_TRUE(link);
    EXPECT_TRUE(link->isVisible());
    EXPECT_TRUE(link->text().contains("href=\"https://tavimo.example/privacy?from=app&amp;lang=en\""))
        << link->text().toStdString();
    controlTitled(*footer, "Send feedback…")->click();
    ASSERT_TRUE(SupportWindow::of(*telemetry));
    EXPECT_FALSE(telemetry->feedbackIsBug());
}

} // namespace
