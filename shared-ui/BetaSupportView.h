#pragma once

#include <QWidget>

class QButtonGroup;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class TavimoSignals;
class TextClipboard;

// The feedback window's content: the user writes a message, then sends it to
// the telemetry service or copies it with the app details. A message that
// could not be delivered stays in the editor.
class BetaSupportView : public QWidget {
    Q_OBJECT
public:
    static constexpr qsizetype messageLimit = 2000;

    BetaSupportView(TavimoSignals &tavimoSignals, TextClipboard &clipboard, QWidget *parent = nullptr);

private:
    void buildLayout();
    void showReportType(bool bug);
    void updateState();
    bool canSend() const;
    void copyReport();
    void sendReport();
    void finishSending(bool accepted);
    void showResult(const QString &result);

    TavimoSignals &m_signals;
    TextClipboard &m_clipboard;
    bool m_sending = false;

    QButtonGroup *m_reportType;
    QLabel *m_prompt;
    QPlainTextEdit *m_message;
    QLabel *m_counter;
    QLabel *m_result;
    QPushButton *m_copy;
    QPushButton *m_send;
};
