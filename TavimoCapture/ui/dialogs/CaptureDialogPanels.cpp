#include "CaptureDialogPanels.h"

#include "AcceleratorText.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPushButton>
#include <QStandardPaths>

namespace {

// "Images (*.png *.jpg …)" first, then one filter per type.
QStringList openFilters(const QStringList &mimeTypes)
{
    const QMimeDatabase database;
    QStringList patterns;
    QStringList filters;
    for (const QString &name : mimeTypes) {
        const QMimeType type = database.mimeTypeForName(name);
        patterns += type.globPatterns();
        filters.append(type.filterString());
    }
    filters.prepend(CaptureDialogPanels::tr("Images (%1)").arg(patterns.join(QLatin1Char(' '))));
    return filters;
}

} // namespace

CaptureDialogPanels::CaptureDialogPanels(QWidget *window)
    : m_window(window), m_folder(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation))
{
}

std::optional<QString> CaptureDialogPanels::chooseFileToOpen(const QStringList &mimeTypes)
{
    QFileDialog dialog(m_window, tr("Open Image"), m_folder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(openFilters(mimeTypes));
    return run(dialog);
}

std::optional<QString> CaptureDialogPanels::chooseSaveDestination(const QString &fileName, const QString &mimeType)
{
    QFileDialog dialog(m_window, tr("Save Image"), m_folder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setMimeTypeFilters({mimeType});
    dialog.setDefaultSuffix(QMimeDatabase().mimeTypeForName(mimeType).preferredSuffix());
    dialog.selectFile(fileName);
    return run(dialog);
}

std::optional<QString> CaptureDialogPanels::run(QFileDialog &dialog)
{
    dialog.setWindowModality(Qt::ApplicationModal);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString path = dialog.selectedFiles().constFirst();
    m_folder = QFileInfo(path).absolutePath();
    return path;
}

qsizetype CaptureDialogPanels::runAlert(const CaptureAlert &alert)
{
    QMessageBox box(m_window);
    const QList<QAbstractButton *> buttons = configure(box, alert);
    box.exec();
    const qsizetype chosen = buttons.indexOf(box.clickedButton());
    return chosen < 0 ? alert.cancelButton : chosen;
}

// The buttons keep the order the workspace gives; the first is the default.
QList<QAbstractButton *> CaptureDialogPanels::configure(QMessageBox &box, const CaptureAlert &alert) const
{
    box.setIcon(QMessageBox::Warning);
    box.setWindowTitle(tr("Tavimo Capture"));
    box.setText(alert.message);
    box.setInformativeText(alert.informativeText);
    box.setWindowModality(Qt::ApplicationModal);
    QList<QAbstractButton *> buttons;
    for (const QString &title : alert.buttons)
        buttons.append(box.addButton(AcceleratorText::literal(title), QMessageBox::ActionRole));
    if (!buttons.isEmpty())
        box.setDefaultButton(qobject_cast<QPushButton *>(buttons.constFirst()));
    if (alert.cancelButton >= 0 && alert.cancelButton < buttons.size())
        box.setEscapeButton(buttons.at(alert.cancelButton));
    return buttons;
}
