#include "AppDistributionSettings.h"
#include "CoordinatorFixture.h"
#include "PendingWorkUpdateNotice.h"
#include "UpdatePrompt.h"
#include "UpdateSettingsWindow.h"
#include "WidgetLookup.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

QMessageBox *openPrompt()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *box = qobject_cast<QMessageBox *>(widget); box && box->isVisible())
            return box;
    }
    return nullptr;
}

} // namespace

TEST(AppDistributionSettings, ReviewBuildDisablesEveryControl)
{
    CoordinatorFixture run({{"CFBundleIdentifier", "local.tavimo.capture.review"}});
    run.start();
    AppDistributionSettings settings(*run.updates);
    EXPECT_FALSE(settings.automaticChecksToggle()->isEnabled() || settings.automaticDownloadsToggle()->isEnabled() ||
                 settings.checkButton()->isEnabled());
    EXPECT_EQ(settings.statusLabel()->text(), run.updates->message());
    EXPECT_TRUE(controlTitled(settings, "Share usage statistics")) << "the support footer follows the updates";
}

TEST(AppDistributionSettings, DownloadToggleFollowsAutomaticChecks)
{
    CoordinatorFixture run;
    run.feed.defaults->setValue("updates.lastCheckTime", double(QDateTime::currentSecsSinceEpoch()));
    run.start();
    AppDistributionSettings settings(*run.updates);
    EXPECT_FALSE(settings.automaticDownloadsToggle()->isEnabled());
    settings.automaticChecksToggle()->click();
    settings.automaticDownloadsToggle()->click();
    EXPECT_TRUE(run.updates->automaticChecks() && run.updates->automaticDownloads());
    settings.checkButton()->click();
    EXPECT_FALSE(settings.checkButton()->isEnabled()) << "a check is running";
    ASSERT_TRUE(QTest::qWaitFor([&] { return settings.checkButton()->isEnabled(); }, 10000));
    EXPECT_EQ(settings.statusLabel()->text(), run.updates->message());
}

TEST(PendingWorkUpdateNotice, ShowsWhileAnUpdateWaitsAndResolvesTheWork)
{
    CoordinatorFixture run;
    run.configurePendingWork([&] { run.busy = false; });
    QWidget editor;
    auto *notice = new PendingWorkUpdateNotice(*run.updates, &editor);
    AppDistributionSettings settings(*run.updates);
    EXPECT_TRUE(notice->isHidden());
    ASSERT_NO_FATAL_FAILURE(run.holdBackAnUpdate());
    EXPECT_FALSE(notice->isHidden() || settings.pendingWorkButton()->isHidden());
    EXPECT_EQ(notice->messageLabel()->text(), run.waitingMessage);
    notice->workButton()->click();
    EXPECT_TRUE(notice->isHidden() && settings.pendingWorkButton()->isHidden());
    EXPECT_EQ(settings.statusLabel()->text(), run.updates->message());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !run.feed.relaunches.isEmpty(); }, 10000));
}

TEST(PendingWorkUpdateNotice, ShowsTheUpdateSymbolFromTheLinkedResources)
{
    CoordinatorFixture run;
    QWidget editor;
    auto *notice = new PendingWorkUpdateNotice(*run.updates, &editor);
    const QList<QLabel *> labels = notice->findChildren<QLabel *>();
    EXPECT_TRUE(
        std::any_of(labels.begin(), labels.end(), [](const QLabel *label) { return !label->pixmap().isNull(); }));
}

TEST(UpdateSettingsWindow, OpensOnceFromTheMenuItem)
{
    CoordinatorFixture run;
    UpdateSettingsWindow window(*run.updates);
    run.updates->preferencesMenuItem()->trigger();
    QWidget *first = window.window();
    ASSERT_NE(first, nullptr);
    first->close();
    run.updates->showPreferences();
    EXPECT_EQ(window.window(), first) << "kept when closed";
    EXPECT_TRUE(first->isVisible());
}

TEST(UpdatePrompt, AnswersWithTheChosenButton)
{
    const AppcastItem item{"Version 7", "7", "0.7.0", QUrl("https://updates.example/7"), 10, "c2ln"};
    for (const auto &[text, expected] :
         {std::pair{"Install Update", UpdateChoice::install}, std::pair{"Remind Me Later", UpdateChoice::remindLater},
          std::pair{"Skip This Version", UpdateChoice::skipVersion}}) {
        std::optional<UpdateChoice> answered;
        UpdatePrompt::ask(item, [&](UpdateChoice choice) { answered = choice; });
        QMessageBox *box = openPrompt();
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(box->informativeText().contains("0.7.0"));
        ASSERT_NE(controlTitled(*box, text), nullptr) << text;
        controlTitled(*box, text)->click();
        EXPECT_EQ(answered, expected) << text;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
