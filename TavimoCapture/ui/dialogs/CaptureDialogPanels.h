#pragma once

#include "CapturePanels.h"

#include <QCoreApplication>
#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

class QAbstractButton;
class QFileDialog;
class QMessageBox;

// The workspace's questions as the desktop's own file dialogs and message
// boxes, modal to `window`. Open and save dialogs start in the folder used
// last (the Pictures folder at first).
class CaptureDialogPanels : public CapturePanels {
    Q_DECLARE_TR_FUNCTIONS(CaptureDialogPanels)

public:
    explicit CaptureDialogPanels(QWidget *window = nullptr);

    void setWindow(QWidget *window) { m_window = window; }

    std::optional<QString> chooseFileToOpen(const QStringList &mimeTypes) override;
    std::optional<QString> chooseSaveDestination(const QString &fileName, const QString &mimeType) override;
    qsizetype runAlert(const CaptureAlert &alert) override;

private:
    std::optional<QString> run(QFileDialog &dialog);
    QList<QAbstractButton *> configure(QMessageBox &box, const CaptureAlert &alert) const;

    QPointer<QWidget> m_window;
    QString m_folder;
};
