#pragma once

#include <QFrame>

class CaptureWorkspace;
class QLabel;

// The workspace's one-line notice with a button that dismisses it; hidden
// while there is no notice.
class CaptureNoticeBanner : public QFrame {
    Q_OBJECT

public:
    explicit CaptureNoticeBanner(CaptureWorkspace &model, QWidget *parent = nullptr);

private:
    void showNotice();

    CaptureWorkspace &m_model;
    QLabel *m_text;
};
