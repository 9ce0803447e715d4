#pragma once

#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>

class CaptureBoard;
class CaptureBoardCanvas;
class CaptureBoardExportPreview;
class CaptureBoardPreviews;
class QAbstractButton;
class QLabel;
class QStackedWidget;
class QToolButton;

// The arrangement of a board's images: choose a layout, move and resize the
// images, undo arrangement changes, remove an image, preview the finished
// export, or leave for the editor of the selected image. Every edit goes
// through the board; refused edits are explained in red under the board.
class CaptureBoardView : public QWidget {
    Q_OBJECT

public:
    // `onEdit` leaves the arrangement for the editor of the selected image.
    CaptureBoardView(CaptureBoard &board, std::function<void()> onEdit, QWidget *parent = nullptr);

    // Empty when the last edit succeeded.
    QString message() const { return m_message; }
    bool showsExportPreview() const { return m_showExportPreview; }
    void setShowExportPreview(bool show);

private:
    void buildControls();
    QWidget *headerRow();
    QToolButton *arrangeButton();
    void chooseLayout(int layoutIndex);
    void setMessage(const QString &message);
    void scheduleRefresh();
    void refresh();
    void updateControls();
    void updateContent();

    QPointer<CaptureBoard> m_board;
    std::function<void()> m_onEdit;
    QString m_message;
    bool m_showExportPreview = false;
    CaptureBoardPreviews *m_previews;
    QTimer m_refreshTimer;

    QLabel *m_title = nullptr;
    QAbstractButton *m_undo = nullptr;
    QAbstractButton *m_exportToggle = nullptr;
    QAbstractButton *m_remove = nullptr;
    QStackedWidget *m_content = nullptr;
    CaptureBoardCanvas *m_canvas = nullptr;
    CaptureBoardExportPreview *m_exportPreview = nullptr;
    QLabel *m_messageLabel = nullptr;
};
