#pragma once

#include "CaptureDocument.h"
#include "CaptureTool.h"
#include "CaptureToolTable.h"
#include "CaptureWorkspace.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <QWidget>

#include <functional>

class QVBoxLayout;
class UserDefaults;

// The editor's side panel: the style of the current tool or of the
// selected mark, the frame of the finished image and the numbered legend.
// It keeps no editing state: every control writes through the document's
// setters. Controls are named after their labels (QObject::objectName), so
// "Block size" finds the block size slider.
//
// It rebuilds its controls when what they show changes shape (another
// effective tool, a picker that shows or hides controls) and otherwise only
// refreshes their values, so a slider being dragged stays alive.
class CaptureInspector : public QWidget {
    Q_OBJECT

public:
    // `defaults` receives "Save as default" and "Reset default".
    CaptureInspector(CaptureWorkspace *workspace, UserDefaults &defaults, QWidget *parent = nullptr);

    // The tool of the selected mark, else the document's tool.
    CaptureTool effectiveTool() const;
    // The style group's title: "Arrow style" or "Selected secure mosaic".
    QString styleTitle() const;
    // The current font with the six presets, without duplicates, sorted.
    static QStringList fontFamilies(const QString &current);
    // "Source: 120 × 80 px", "Destination: …", "Scale: 2.50×" for a placed lens.
    static QStringList magnifierFigures(const CaptureAnnotation &magnifier);
    // Stores a typed legend height or width: non-finite → 320, clamped 80…4096.
    static void setLegendDimension(CaptureDocument &document, double value);

    bool showStyle() const { return m_showStyle; }
    bool showAppearance() const { return m_showAppearance; }
    bool showLegend() const { return m_showLegend; }

protected:
    void changeEvent(QEvent *event) override;

private:
    CaptureDocument *document() const;
    QString structure() const;
    void documentDidChange();
    void changed();
    void rebuild();
    void refresh();

    // Builders; each registers a refresher for its value.
    QWidget *collapsibleGroup(const QString &title, bool &expanded, const std::function<void(QVBoxLayout *)> &content);
    // The effective tool's controls, as the tool table lists them.
    void addStyleControls(QVBoxLayout *layout);
    void addToolControl(QVBoxLayout *layout, const CaptureToolControl &control);
    void addLensFigures(QVBoxLayout *layout);
    void addArrowControls(QVBoxLayout *layout);
    void addTextTraits(QVBoxLayout *layout);
    void addFontPicker(QVBoxLayout *layout, const QString &title);
    void addDetectionControls(QVBoxLayout *layout);
    void addAppearanceControls(QVBoxLayout *layout);
    void addLegendControls(QVBoxLayout *layout);
    void addHelp(QVBoxLayout *layout, const QString &text);
    void addSlider(QVBoxLayout *layout, const QString &title, int low, int high, const QString &unit,
                   std::function<double()> read, std::function<void(double)> write);
    void addStyleSlider(QVBoxLayout *layout, const CaptureToolControl &control);
    void addCompositionSlider(QVBoxLayout *layout, const QString &title, double CaptureComposition::*field, int low,
                              int high);
    void addToggle(QVBoxLayout *layout, const QString &title, std::function<bool()> read,
                   std::function<void(bool)> write);
    void addStyleToggle(QVBoxLayout *layout, const QString &title, bool CaptureStyle::*field);
    void addPicker(QVBoxLayout *layout, const QString &title, const QStringList &options, std::function<int()> read,
                   std::function<void(int)> write);
    template <typename E>
    void addStylePicker(QVBoxLayout *layout, const QString &title, E CaptureStyle::*field, const QStringList &options);
    void addColorWell(QVBoxLayout *layout, const QString &title, std::function<QColor()> read,
                      std::function<void(QColor)> write);
    void editStyle(const std::function<void(CaptureStyle &)> &edit);
    void editComposition(const std::function<void(CaptureComposition &)> &edit);

    QPointer<CaptureWorkspace> m_workspace;
    UserDefaults &m_defaults;
    QPointer<CaptureDocument> m_document;
    QWidget *m_content = nullptr;
    QVBoxLayout *m_layout = nullptr;
    QString m_structure;
    QList<std::function<void()>> m_refreshers;
    // The legend entry whose field is being written to the document.
    QUuid m_writingLegend;
    bool m_showStyle = true;
    bool m_showAppearance = true;
    bool m_showLegend = true;
};
