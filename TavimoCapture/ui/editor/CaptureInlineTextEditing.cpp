#include "CaptureInlineTextEditing.h"

#include "AppTheme.h"
#include "CaptureCanvasView.h"
#include "CaptureDocument.h"
#include "CaptureInlineTextView.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

CaptureInlineTextEditing::CaptureInlineTextEditing(CaptureCanvasView &canvas) : m_canvas(canvas)
{
}

CaptureInlineTextEditing::~CaptureInlineTextEditing()
{
    delete m_editor;
}

void CaptureInlineTextEditing::open(const CaptureGesture::TextEdit &edit)
{
    close();
    m_editingID = edit.id;
    m_origin = edit.origin;
    auto *editor = new CaptureInlineTextView(&m_canvas);
    QString initial;
    if (!edit.id.isNull() && m_canvas.document())
        if (const std::optional<CaptureAnnotation> selected = m_canvas.document()->selectedAnnotation())
            initial = selected->text;
    editor->setPlainText(initial);
    editor->onCommit = [this] {
        commit();
    };
    editor->onCancel = [this] {
        close();
    };
    QObject::connect(editor, &QPlainTextEdit::textChanged, editor, [this] { position(); });
    m_editor = editor;
    editor->setReadOnly(!m_canvas.inputEnabled());
    refresh();
    editor->show();
    editor->setFocus(Qt::OtherFocusReason);
    editor->selectAll();
    m_canvas.update();
}

void CaptureInlineTextEditing::close()
{
    if (!m_editor)
        return;
    CaptureInlineTextView *editor = m_editor;
    m_editor = nullptr;
    editor->onCommit = nullptr;
    editor->onCancel = nullptr;
    QObject::disconnect(editor, &QPlainTextEdit::textChanged, nullptr, nullptr);
    editor->hide();
    editor->deleteLater();
    m_editingID = QUuid();
    m_origin.reset();
    m_canvas.setFocus(Qt::OtherFocusReason);
    m_canvas.update();
}

void CaptureInlineTextEditing::commit()
{
    if (!m_editor || !m_origin) {
        close();
        return;
    }
    const QString text = m_editor->toPlainText();
    const QUuid id = m_editingID;
    const QPointF origin = *m_origin;
    close();
    if (CaptureDocument *document = m_canvas.document())
        CaptureGesture::commitText(*document, text, id, origin);
}

void CaptureInlineTextEditing::setReadOnly(bool readOnly)
{
    if (m_editor)
        m_editor->setReadOnly(readOnly);
}

void CaptureInlineTextEditing::refresh()
{
    style();
    position();
}

void CaptureInlineTextEditing::style()
{
    const CaptureDocument *document = m_canvas.document();
    if (!m_editor || !document)
        return;
    const CaptureStyle &style = document->style();
    QFont font = style.font();
    font.setPixelSize(std::max(1, int(std::lround(font.pixelSize() * m_canvas.viewScale()))));
    font.setUnderline(style.underline);
    const QColor color = document->color();
    const QColor background = style.textBackgroundEnabled ? style.textBackgroundColor : QColor(Qt::transparent);
    m_editor->setFont(font);
    m_editor->setStyleSheet(
        QStringLiteral("QPlainTextEdit { color: %1; background: %2; border: 1px solid %3; }")
            .arg(color.name(QColor::HexArgb), background.name(QColor::HexArgb), AppTheme::accent().name()));
    QPalette palette = m_editor->palette();
    palette.setColor(QPalette::Text, color);
    m_editor->setPalette(palette);
}

// At the text's origin, as wide and high as its text with some room, within the canvas.
void CaptureInlineTextEditing::position()
{
    if (!m_editor || !m_origin)
        return;
    const QPointF origin = m_canvas.viewPoint(*m_origin);
    const QFontMetricsF metrics(m_editor->font());
    const QStringList lines = m_editor->toPlainText().split(QLatin1Char('\n'));
    double textWidth = 0;
    for (const QString &line : lines)
        textWidth = std::max(textWidth, metrics.horizontalAdvance(line));
    const double textHeight = metrics.lineSpacing() * lines.size();
    const double width = std::min(std::max(textWidth + 12, 140.0), std::max(m_canvas.width() - origin.x() - 16, 60.0));
    const double height =
        std::min(std::max(textHeight + 12, 36.0), std::max(m_canvas.height() - origin.y() - 16, 36.0));
    m_editor->setGeometry(QRectF(origin.x() - 4, origin.y() - 4, width, height).toRect());
}
