#include "CaptureNoticeBanner.h"

#include "CaptureWorkspace.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QToolButton>

CaptureNoticeBanner::CaptureNoticeBanner(CaptureWorkspace &model, QWidget *parent)
    : QFrame(parent), m_model(model), m_text(new QLabel)
{
    setBackgroundRole(QPalette::AlternateBase);
    setAutoFillBackground(true);
    m_text->setWordWrap(true);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *dismiss = new QToolButton;
    dismiss->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    dismiss->setToolTip(tr("Dismiss message"));
    dismiss->setAccessibleName(tr("Dismiss message"));
    dismiss->setAutoRaise(true);
    connect(dismiss, &QToolButton::clicked, this, [this] { m_model.setNotice(QString()); });

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 6, 6, 6);
    layout->addWidget(m_text, 1);
    layout->addWidget(dismiss, 0, Qt::AlignTop);
    connect(&model, &CaptureWorkspace::noticeChanged, this, &CaptureNoticeBanner::showNotice);
    showNotice();
}

void CaptureNoticeBanner::showNotice()
{
    m_text->setText(m_model.notice());
    setVisible(!m_model.notice().isEmpty());
}
