#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;
class SymbolLabel;

// A short message 20 from the right and 27 below the top of the screen's free
// area for 3 seconds; a newer message replaces it at once. It never takes the
// focus and lets the mouse through.
class CaptureToastWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr QSize panelSize{330, 58};
    static constexpr int seconds = 3;

    CaptureToastWindow();

    // Where the toast goes on a screen whose free area is `available`, for a
    // message that needs `height` (at least 58).
    static QRect placement(const QRect &available, int height);

    void showMessage(const QString &message);
    QString message() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    SymbolLabel *m_symbol;
    QLabel *m_message;
    QTimer m_expiry;
};
