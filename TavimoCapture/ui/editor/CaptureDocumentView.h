#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

class CaptureCanvasView;
class CaptureClipboard;
class CaptureDocument;
class CaptureInspector;
class CaptureToolButton;
class CaptureWorkspace;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QToolButton;
class UserDefaults;

// The editor of one image: the tools and document commands, the canvas, the
// inspector beside it (shown or hidden, remembered across launches) and the
// text recognised in the image. Follows the workspace's document.
class CaptureDocumentView : public QWidget {
    Q_OBJECT

public:
    static inline const QString showInspectorKey = QStringLiteral("capture.showInspector");

    // `clipboard` receives the recognised text on "Copy Text".
    CaptureDocumentView(CaptureWorkspace &model, UserDefaults &defaults, CaptureClipboard &clipboard,
                        QWidget *parent = nullptr);

    bool showInspector() const { return m_showInspector; }
    void setShowInspector(bool show);

private:
    QWidget *toolRow();
    QToolButton *commandButton(const QString &title, const QString &icon, const QString &help);
    QFrame *recognizedTextPanel();
    void followDocument();
    void updateCommands();
    void showRecognizedText();
    void copyRecognizedText();

    CaptureWorkspace &m_model;
    UserDefaults &m_defaults;
    CaptureClipboard &m_clipboard;
    QPointer<CaptureDocument> m_document;
    bool m_showInspector;

    QList<CaptureToolButton *> m_toolButtons;
    QLabel *m_instruction = nullptr;
    QToolButton *m_undo = nullptr;
    QToolButton *m_extractText = nullptr;
    QToolButton *m_inspectorToggle = nullptr;
    CaptureCanvasView *m_canvas = nullptr;
    CaptureInspector *m_inspector = nullptr;
    QFrame *m_textPanel = nullptr;
    QPlainTextEdit *m_text = nullptr;
};
