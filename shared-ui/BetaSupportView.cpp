#include "BetaSupportView.h"

#include "TavimoSignals.h"
#include "TextClipboard.h"

#include <QButtonGroup>
#include <QFontDatabase>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

enum ReportType { feedbackType = 0, bugType = 1 };

QFont scaledFont(const QFont &base, qreal factor, QFont::Weight weight = QFont::Normal)
{
    QFont font = base;
    font.setPointSizeF(base.pointSizeF() * factor);
    font.setWeight(weight);
    return font;
}

QLabel *captionLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setFont(scaledFont(parent->font(), 0.85));
    return label;
}

QWidget *appDetails(const QString &metadata, QWidget *parent)
{
    auto *box = new QWidget(parent);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *toggle = new QToolButton(box);
    toggle->setText(BetaSupportView::tr("App details included"));
    toggle->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toggle->setArrowType(Qt::RightArrow);
    toggle->setCheckable(true);
    toggle->setAutoRaise(true);
    auto *details = new QLabel(metadata, box);
    details->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    details->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    details->setVisible(false);
    QObject::connect(toggle, &QToolButton::toggled, details, [toggle, details](bool open) {
        toggle->setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
        details->setVisible(open);
    });
    layout->addWidget(toggle, 0, Qt::AlignLeft);
    layout->addWidget(details);
    return box;
}

} // namespace

BetaSupportView::BetaSupportView(TavimoSignals &tavimoSignals, TextClipboard &clipboard, QWidget *parent)
    : QWidget(parent), m_signals(tavimoSignals), m_clipboard(clipboard), m_reportType(new QButtonGroup(this)),
      m_prompt(new QLabel(this)), m_message(new QPlainTextEdit(this)), m_counter(captionLabel(QString(), this)),
      m_result(captionLabel(QString(), this)), m_copy(new QPushButton(tr("Copy report"), this)),
      m_send(new QPushButton(tr("Send report"), this))
{
    buildLayout();
    connect(&tavimoSignals, &TavimoSignals::feedbackIsBugChanged, this, &BetaSupportView::showReportType);
    connect(m_reportType, &QButtonGroup::idClicked, this,
            [this](int id) { m_signals.setFeedbackIsBug(id == bugType); });
    connect(m_message, &QPlainTextEdit::textChanged, this, &BetaSupportView::updateState);
    connect(m_copy, &QPushButton::clicked, this, &BetaSupportView::copyReport);
    connect(m_send, &QPushButton::clicked, this, &BetaSupportView::sendReport);
    showReportType(tavimoSignals.feedbackIsBug());
    showResult(QString());
    updateState();
}

void BetaSupportView::buildLayout()
{
    auto *layout = new QVBoxLayout(this);

    auto *header = new QLabel(tr("%1 feedback").arg(m_signals.appName()), this);
    header->setFont(scaledFont(font(), 1.25, QFont::DemiBold));
    layout->addWidget(header);

    auto *typeRow = new QHBoxLayout;
    typeRow->setSpacing(0);
    typeRow->addWidget(new QLabel(tr("Report type"), this));
    typeRow->addSpacing(8);
    for (const auto &[id, title] :
         {std::pair{feedbackType, QT_TR_NOOP("Feedback")}, std::pair{bugType, QT_TR_NOOP("Bug report")}}) {
        auto *choice = new QPushButton(tr(title), this);
        choice->setCheckable(true);
        m_reportType->addButton(choice, id);
        typeRow->addWidget(choice);
    }
    typeRow->addStretch();
    layout->addLayout(typeRow);

    m_prompt->setFont(scaledFont(font(), 0.95));
    layout->addWidget(m_prompt);
    m_message->setAccessibleName(tr("Your message"));
    layout->addWidget(m_message, 1);
    layout->addWidget(m_counter);
    layout->addWidget(appDetails(m_signals.reviewedMetadata(), this));
    layout->addWidget(captionLabel(tr("Only your message and app details are sent. No screenshots, logs "
                                      "or usage identifier are attached."),
                                   this));
    if (!m_signals.configured())
        layout->addWidget(
            captionLabel(tr("Online reporting is not configured in this build. You can copy your report."), this));
    layout->addWidget(m_result);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_copy);
    m_send->setDefault(true);
    buttons->addWidget(m_send);
    layout->addLayout(buttons);
}

void BetaSupportView::showReportType(bool bug)
{
    m_reportType->button(bug ? bugType : feedbackType)->setChecked(true);
    m_prompt->setText(bug ? tr("What happened, and what did you expect?") : tr("What would make this app better?"));
}

void BetaSupportView::updateState()
{
    m_counter->setText(tr("%1/%2 characters").arg(m_message->toPlainText().size()).arg(messageLimit));
    m_send->setEnabled(canSend());
}

bool BetaSupportView::canSend() const
{
    const QString message = m_message->toPlainText();
    return m_signals.configured() && !m_sending && !message.trimmed().isEmpty() && message.size() <= messageLimit;
}

void BetaSupportView::copyReport()
{
    m_clipboard.setText(m_message->toPlainText() + QStringLiteral("\n\n") + m_signals.reviewedMetadata());
    showResult(tr("Copied."));
}

void BetaSupportView::sendReport()
{
    if (!canSend())
        return;
    m_sending = true;
    // The text being sent stays as it is until the outcome is known.
    m_message->setReadOnly(true);
    updateState();
    auto *watcher = new QFutureWatcher<bool>(this);
    connect(watcher, &QFutureWatcher<bool>::finished, this, [this, watcher] {
        watcher->deleteLater();
        const QFuture<bool> outcome = watcher->future();
        finishSending(outcome.resultCount() > 0 && outcome.result());
    });
    watcher->setFuture(m_signals.feedback(m_message->toPlainText(), m_signals.feedbackIsBug()));
}

void BetaSupportView::finishSending(bool accepted)
{
    m_sending = false;
    m_message->setReadOnly(false);
    if (accepted) {
        m_message->clear();
        showResult(tr("Report sent. Thank you."));
    } else {
        showResult(tr("Delivery could not be confirmed. Your message is preserved; retrying may duplicate a report."));
    }
    updateState();
}

void BetaSupportView::showResult(const QString &result)
{
    m_result->setText(result);
    m_result->setVisible(!result.isEmpty());
}
