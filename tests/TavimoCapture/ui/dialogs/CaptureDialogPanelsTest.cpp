#include "CaptureDialogPanels.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Answers the next modal dialog once it is up, as a user would.
template <typename Dialog> void whenShown(std::function<void(Dialog &)> answer)
{
    QTimer::singleShot(0, [answer = std::move(answer)] {
        const bool shown =
            QTest::qWaitFor([] { return qobject_cast<Dialog *>(QApplication::activeModalWidget()) != nullptr; });
        ASSERT_TRUE(shown);
        answer(*qobject_cast<Dialog *>(QApplication::activeModalWidget()));
    });
}

const CaptureAlert closeAlert{
    QStringLiteral("Close this capture?"),
    QStringLiteral("Save the current image before closing."),
    {QStringLiteral("Save and Close"), QStringLiteral("Cancel"), QStringLiteral("Discard and Close")},
    1};

TEST(CaptureDialogPanels, AlertKeepsTheButtonOrderAndEscapeChoosesCancel)
{
    CaptureDialogPanels panels;
    QStringList shown;
    whenShown<QMessageBox>([&](QMessageBox &box) {
        QList<QAbstractButton *> buttons = box.buttons();
        std::sort(buttons.begin(), buttons.end(),
                  [](QAbstractButton *a, QAbstractButton *b) { return a->x() < b->x(); });
        for (QAbstractButton *button : buttons)
            shown.append(button->text());
        EXPECT_EQ(box.text(), closeAlert.message);
        EXPECT_EQ(box.informativeText(), closeAlert.informativeText);
        EXPECT_EQ(box.defaultButton()->text(), QStringLiteral("Save and Close"));
        QTest::keyClick(&box, Qt::Key_Escape);
    });
    EXPECT_EQ(panels.runAlert(closeAlert), 1);
    EXPECT_EQ(shown, closeAlert.buttons);

    whenShown<QMessageBox>([](QMessageBox &box) {
        for (QAbstractButton *button : box.buttons()) {
            if (button->text() == QStringLiteral("Discard and Close"))
                button->click();
        }
    });
    EXPECT_EQ(panels.runAlert(closeAlert), 2);
}

TEST(CaptureDialogPanels, OpenOffersTheImageTypesAndReturnsTheChosenFile)
{
    QTemporaryDir folder;
    const QString image = folder.filePath(QStringLiteral("shot.png"));
    QFile(image).open(QIODevice::WriteOnly);
    CaptureDialogPanels panels;
    whenShown<QFileDialog>([&](QFileDialog &dialog) {
        const QString images = dialog.nameFilters().first();
        EXPECT_TRUE(images.startsWith(QStringLiteral("Images (*.png ")));
        EXPECT_TRUE(images.contains(QStringLiteral("*.jpg")) && images.contains(QStringLiteral("*.tif")));
        EXPECT_EQ(dialog.nameFilters().size(), 4);
        EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
        dialog.selectFile(image);
        static_cast<QDialog &>(dialog).accept();
    });
    EXPECT_EQ(panels.chooseFileToOpen({"image/png", "image/jpeg", "image/tiff"}), image);

    whenShown<QFileDialog>([&](QFileDialog &dialog) {
        EXPECT_EQ(dialog.directory().absolutePath(), folder.path());
        dialog.reject();
    });
    EXPECT_EQ(panels.chooseFileToOpen({"image/png"}), std::nullopt);
}

TEST(CaptureDialogPanels, SaveProposesTheGivenNameAsPng)
{
    QTemporaryDir folder;
    CaptureDialogPanels panels;
    const QString destination = folder.filePath(QStringLiteral("Capture-2026-12-05.png"));
    whenShown<QFileDialog>([&](QFileDialog &dialog) {
        EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(QFileInfo(dialog.selectedFiles().value(0)).fileName(), QStringLiteral("Capture-2026-12-05.png"));
        EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("png"));
        dialog.setDirectory(folder.path());
        dialog.selectFile(destination);
        static_cast<QDialog &>(dialog).accept();
    });
    EXPECT_EQ(panels.chooseSaveDestination(QStringLiteral("Capture-2026-12-05.png"), QStringLiteral("image/png")),
              destination);
}

} // namespace
