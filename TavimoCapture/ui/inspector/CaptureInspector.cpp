#include "CaptureInspector.h"

#include "AcceleratorText.h"
#include "AppTheme.h"
#include "CaptureDecorationDefaults.h"
#include "CaptureRenderer.h"
#include "CaptureToolRanges.h"
#include "UserDefaults.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDebug>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

const QStringList fontPresets{QStringLiteral("System"),      QStringLiteral("Helvetica Neue"),
                              QStringLiteral("Avenir Next"), QStringLiteral("Georgia"),
                              QStringLiteral("Menlo"),       QStringLiteral("Times New Roman")};

// The family a text mark named `name` is drawn in: a missing font falls back.
QString drawnFamily(const QString &name)
{
    CaptureStyle style;
    style.fontName = name;
    return QFontInfo(style.font()).family();
}

QStringList itemTexts(const QComboBox &picker)
{
    QStringList texts;
    for (int index = 0; index < picker.count(); ++index)
        texts.append(picker.itemText(index));
    return texts;
}

QString sizeText(double width, double height)
{
    return QStringLiteral("%1 × %2 px").arg(qint64(width)).arg(qint64(height));
}

QLabel *secondary(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

QString swatchStyle(const QColor &color)
{
    return QStringLiteral("QPushButton { background: %1; border: 1px solid palette(mid); border-radius: 4px; "
                          "min-width: 36px; min-height: 18px; }")
        .arg(color.name(QColor::HexArgb));
}

} // namespace

CaptureInspector::CaptureInspector(CaptureWorkspace *workspace, UserDefaults &defaults, QWidget *parent)
    : QWidget(parent), m_workspace(workspace), m_defaults(defaults)
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    outer->addWidget(scroll);
    m_content = new QWidget(scroll);
    scroll->setWidget(m_content);
    m_layout = new QVBoxLayout(m_content);
    m_layout->setContentsMargins(12, 12, 12, 12);
    setMinimumWidth(260);
    if (m_workspace) {
        connect(m_workspace, &CaptureWorkspace::documentChanged, this, &CaptureInspector::documentDidChange);
        connect(m_workspace, &CaptureWorkspace::changed, this, &CaptureInspector::changed);
    }
    documentDidChange();
}

CaptureDocument *CaptureInspector::document() const
{
    return m_document;
}

void CaptureInspector::documentDidChange()
{
    if (m_document)
        disconnect(m_document, nullptr, this, nullptr);
    m_document = m_workspace ? m_workspace->document().get() : nullptr;
    if (m_document)
        connect(m_document, &CaptureDocument::changed, this, &CaptureInspector::changed);
    m_structure = QString(QLatin1Char('-'));
    changed();
}

// Colours that controls take from the theme are set again once the new
// palette has reached every widget.
void CaptureInspector::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        QMetaObject::invokeMethod(this, &CaptureInspector::refresh, Qt::QueuedConnection);
}

CaptureTool CaptureInspector::effectiveTool() const
{
    if (!m_document)
        return CaptureTool::select;
    if (const std::optional<CaptureAnnotation> selected = m_document->selectedAnnotation())
        return selected->tool;
    return m_document->tool();
}

QString CaptureInspector::styleTitle() const
{
    const QString title = toolTitle(effectiveTool());
    if (m_document && m_document->selectedAnnotation())
        return QStringLiteral("Selected ") + title.toLower();
    return title + QStringLiteral(" style");
}

QStringList CaptureInspector::fontFamilies(const QString &current)
{
    QStringList families = fontPresets;
    families.append(current);
    families.removeDuplicates();
    std::sort(families.begin(), families.end());
    return families;
}

QStringList CaptureInspector::magnifierFigures(const CaptureAnnotation &m)
{
    if (!m.destination)
        return {};
    const double sourceWidth = std::abs(m.end.x() - m.start.x());
    const double sourceHeight = std::abs(m.end.y() - m.start.y());
    const QRectF destination = *m.destination;
    const double scale =
        std::min(destination.width() / std::max(sourceWidth, 1.0), destination.height() / std::max(sourceHeight, 1.0));
    return {QStringLiteral("Source: ") + sizeText(sourceWidth, sourceHeight),
            QStringLiteral("Destination: ") + sizeText(destination.width(), destination.height()),
            QStringLiteral("Scale: ") + QString::asprintf("%.2f", scale) + QStringLiteral("×")};
}

void CaptureInspector::setLegendDimension(CaptureDocument &document, double value)
{
    const double dimension = std::isfinite(value) ? std::clamp(value, 80.0, 4096.0) : 320.0;
    CaptureComposition composition = document.composition();
    if (composition.legend.placement == CaptureLegendPlacement::bottom)
        composition.legend.height = dimension;
    else
        composition.legend.width = dimension;
    document.setComposition(composition);
}

// What decides which controls exist; values alone are refreshed in place.
QString CaptureInspector::structure() const
{
    if (!m_document)
        return QStringLiteral("none");
    const CaptureDocument &d = *m_document;
    const CaptureStyle &style = d.style();
    const std::optional<CaptureAnnotation> selected = d.selectedAnnotation();
    const CaptureComposition &c = d.composition();
    const QList<CaptureLegendEntry> entries = d.legendEntries();
    QStringList ids;
    for (const CaptureLegendEntry &entry : entries)
        ids.append(entry.id.toString() + QString::number(entry.number));
    const QList<CaptureLegendEntry> shown = d.legendEnabled() ? entries : QList<CaptureLegendEntry>();
    const QRectF extent = CaptureRenderer::contentExtent(d.cropRect(), d.annotations());
    const bool overflow = CaptureRenderer::baseLayout(extent, c, shown).legendOverflow;
    return QStringList{rawValue(effectiveTool()),
                       selected ? QStringLiteral("selected") : QString(),
                       selected && selected->tool == CaptureTool::magnifier && selected->destination
                           ? QStringLiteral("lens")
                           : QString(),
                       rawValue(style.shapeMode),
                       rawValue(style.brush),
                       QString::number(style.arrowCurved),
                       QString::number(style.textBackgroundEnabled),
                       rawValue(c.background),
                       QString::number(c.legend.fitToContent),
                       rawValue(c.legend.placement),
                       QString::number(overflow),
                       ids.join(QLatin1Char(','))}
        .join(QLatin1Char('|'));
}

void CaptureInspector::changed()
{
    const QString now = structure();
    if (now != m_structure) {
        m_structure = now;
        rebuild();
    } else {
        refresh();
    }
}

void CaptureInspector::refresh()
{
    for (const auto &refresher : std::as_const(m_refreshers))
        refresher();
}

void CaptureInspector::rebuild()
{
    m_refreshers.clear();
    while (QLayoutItem *item = m_layout->takeAt(0)) {
        if (QWidget *widget = item->widget()) {
            widget->hide();
            widget->deleteLater();
        }
        delete item;
    }
    if (!m_document) {
        addHelp(m_layout, QStringLiteral("Open a capture to edit it."));
        m_layout->addStretch(1);
        return;
    }

    auto *header = new QWidget(m_content);
    auto *headerRow = new QHBoxLayout(header);
    headerRow->setContentsMargins(0, 0, 0, 0);
    auto *title = new QLabel(QStringLiteral("Inspector"), header);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    title->setFont(titleFont);
    headerRow->addWidget(title);
    headerRow->addStretch(1);
    if (m_document->selectedAnnotation()) {
        auto *trash = new QToolButton(header);
        trash->setObjectName(QStringLiteral("Delete selected annotation"));
        trash->setIcon(QIcon::fromTheme(QStringLiteral("edit-delete"), QIcon(QStringLiteral(":/icons/trash.svg"))));
        trash->setAutoRaise(true);
        trash->setToolTip(QStringLiteral("Delete selected annotation"));
        trash->setAccessibleName(QStringLiteral("Delete selected annotation"));
        connect(trash, &QToolButton::clicked, this, [this] {
            if (m_document)
                m_document->deleteSelected();
        });
        headerRow->addWidget(trash);
    }
    m_layout->addWidget(header);

    m_layout->addWidget(collapsibleGroup(styleTitle(), m_showStyle, [this](QVBoxLayout *l) { addStyleControls(l); }));
    auto divider = [this] {
        auto *line = new QFrame(m_content);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        m_layout->addWidget(line);
    };
    divider();
    m_layout->addWidget(collapsibleGroup(QStringLiteral("Image appearance"), m_showAppearance,
                                [this](QVBoxLayout *l) { addAppearanceControls(l); }));
    divider();
    m_layout->addWidget(
        collapsibleGroup(QStringLiteral("Numbered legend"), m_showLegend, [this](QVBoxLayout *l) { addLegendControls(l); }));
    m_layout->addStretch(1);
}

QWidget *CaptureInspector::collapsibleGroup(const QString &title, bool &expanded,
                                   const std::function<void(QVBoxLayout *)> &content)
{
    auto *box = new QWidget(m_content);
    auto *column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    auto *toggle = new QToolButton(box);
    toggle->setObjectName(QStringLiteral("group:") + title);
    toggle->setText(AcceleratorText::literal(title));
    toggle->setCheckable(true);
    toggle->setChecked(expanded);
    toggle->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toggle->setArrowType(expanded ? Qt::DownArrow : Qt::RightArrow);
    toggle->setAutoRaise(true);
    QFont font = toggle->font();
    font.setBold(true);
    toggle->setFont(font);
    column->addWidget(toggle);
    auto *body = new QWidget(box);
    auto *bodyLayout = new QVBoxLayout(body);
    bodyLayout->setContentsMargins(4, 0, 0, 0);
    content(bodyLayout);
    body->setVisible(expanded);
    column->addWidget(body);
    connect(toggle, &QToolButton::toggled, this, [&expanded, toggle, body](bool on) {
        expanded = on;
        toggle->setArrowType(on ? Qt::DownArrow : Qt::RightArrow);
        body->setVisible(on);
    });
    return box;
}

void CaptureInspector::addHelp(QVBoxLayout *layout, const QString &text)
{
    QLabel *label = secondary(text, layout->parentWidget());
    label->setWordWrap(true);
    layout->addWidget(label);
}

void CaptureInspector::editStyle(const std::function<void(CaptureStyle &)> &edit)
{
    if (!m_document)
        return;
    CaptureStyle style = m_document->style();
    edit(style);
    m_document->setStyle(style);
}

void CaptureInspector::editComposition(const std::function<void(CaptureComposition &)> &edit)
{
    if (!m_document)
        return;
    CaptureComposition composition = m_document->composition();
    edit(composition);
    m_document->setComposition(composition);
}

void CaptureInspector::addSlider(QVBoxLayout *layout, const QString &title, int low, int high, const QString &unit,
                                 std::function<double()> read, std::function<void(double)> write)
{
    QWidget *parent = layout->parentWidget();
    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(title, parent));
    row->addStretch(1);
    QLabel *value = secondary(QString(), parent);
    value->setObjectName(title + QStringLiteral(":value"));
    QFont digits = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    value->setFont(digits);
    row->addWidget(value);
    layout->addLayout(row);
    auto *slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(title);
    slider->setAccessibleName(title);
    slider->setRange(low, high);
    slider->setSingleStep(1);
    layout->addWidget(slider);
    auto show = [slider, value, read, unit] {
        const double current = read();
        value->setText(QStringLiteral("%1 %2").arg(qint64(current)).arg(unit));
        const QSignalBlocker blocker(slider);
        slider->setValue(int(std::lround(current)));
    };
    show();
    m_refreshers.append(show);
    connect(slider, &QSlider::valueChanged, this, [write](int v) { write(v); });
}

// The slider shows the shared style value within the tool's own range.
void CaptureInspector::addStyleSlider(QVBoxLayout *layout, const QString &title, double CaptureStyle::*field,
                                      CaptureValueRange range, const QString &unit)
{
    addSlider(
        layout, title, int(range.low), int(range.high), unit,
        [this, field, range] {
            const double value = m_document ? m_document->style().*field : CaptureStyle().*field;
            return range.clamped(value, CaptureStyle().*field);
        },
        [this, field](double v) { editStyle([&](CaptureStyle &s) { s.*field = v; }); });
}

void CaptureInspector::addCompositionSlider(QVBoxLayout *layout, const QString &title,
                                            double CaptureComposition::*field, int low, int high)
{
    addSlider(
        layout, title, low, high, QStringLiteral("px"),
        [this, field] { return m_document ? m_document->composition().*field : 0.0; },
        [this, field](double v) { editComposition([&](CaptureComposition &c) { c.*field = v; }); });
}

void CaptureInspector::addToggle(QVBoxLayout *layout, const QString &title, std::function<bool()> read,
                                 std::function<void(bool)> write)
{
    auto *box = new QCheckBox(AcceleratorText::literal(title), layout->parentWidget());
    box->setObjectName(title);
    layout->addWidget(box);
    auto show = [box, read] {
        const QSignalBlocker blocker(box);
        box->setChecked(read());
    };
    show();
    m_refreshers.append(show);
    connect(box, &QCheckBox::toggled, this, [write](bool on) { write(on); });
}

void CaptureInspector::addStyleToggle(QVBoxLayout *layout, const QString &title, bool CaptureStyle::*field)
{
    addToggle(
        layout, title, [this, field] { return m_document && m_document->style().*field; },
        [this, field](bool on) { editStyle([&](CaptureStyle &s) { s.*field = on; }); });
}

void CaptureInspector::addPicker(QVBoxLayout *layout, const QString &title, const QStringList &options,
                                 std::function<int()> read, std::function<void(int)> write)
{
    QWidget *parent = layout->parentWidget();
    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(title, parent));
    auto *picker = new QComboBox(parent);
    picker->setObjectName(title);
    picker->setAccessibleName(title);
    picker->addItems(options);
    row->addWidget(picker, 1);
    layout->addLayout(row);
    auto show = [picker, read] {
        const QSignalBlocker blocker(picker);
        picker->setCurrentIndex(read());
    };
    show();
    m_refreshers.append(show);
    connect(picker, &QComboBox::activated, this, [write](int index) { write(index); });
}

template <typename E>
void CaptureInspector::addStylePicker(QVBoxLayout *layout, const QString &title, E CaptureStyle::*field,
                                      const QStringList &options)
{
    const auto cases = allCases<E>();
    addPicker(
        layout, title, options,
        [this, field, cases] {
            if (!m_document)
                return 0;
            const auto found = std::find(cases.begin(), cases.end(), m_document->style().*field);
            return int(found - cases.begin());
        },
        [this, field, cases](int index) {
            if (index >= 0 && index < int(cases.size()))
                editStyle([&](CaptureStyle &s) { s.*field = cases[index]; });
        });
}

void CaptureInspector::addColorWell(QVBoxLayout *layout, const QString &title, std::function<QColor()> read,
                                    std::function<void(QColor)> write)
{
    QWidget *parent = layout->parentWidget();
    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(title, parent));
    row->addStretch(1);
    auto *well = new QPushButton(parent);
    well->setObjectName(title);
    well->setAccessibleName(title);
    row->addWidget(well);
    layout->addLayout(row);
    auto show = [well, read] {
        well->setStyleSheet(swatchStyle(read()));
    };
    show();
    m_refreshers.append(show);
    connect(well, &QPushButton::clicked, this, [this, title, read, write] {
        const QColor picked = QColorDialog::getColor(read(), this, title, QColorDialog::ShowAlphaChannel);
        if (picked.isValid())
            write(picked);
    });
}

void CaptureInspector::addStyleControls(QVBoxLayout *layout)
{
    const auto colorWell = [this, layout](const QString &title) {
        addColorWell(
            layout, title, [this] { return m_document ? m_document->color() : QColor(); },
            [this](const QColor &c) {
                if (m_document)
                    m_document->setColor(c);
            });
    };
    const QString px = QStringLiteral("px");
    const QString pt = QStringLiteral("pt");
    const CaptureTool tool = effectiveTool();
    switch (tool) {
    case CaptureTool::select:
        addHelp(layout, QStringLiteral("Select an annotation to change its color, shape or text."));
        break;
    case CaptureTool::arrow:
        colorWell(QStringLiteral("Color"));
        addStyleSlider(layout, QStringLiteral("Line width"), &CaptureStyle::lineWidth,
                       CaptureToolRanges::lineWidth(tool), px);
        addArrowControls(layout);
        break;
    case CaptureTool::rectangle:
    case CaptureTool::oval:
        colorWell(QStringLiteral("Color"));
        addStyleSlider(layout, QStringLiteral("Line width"), &CaptureStyle::lineWidth,
                       CaptureToolRanges::lineWidth(tool), px);
        addStylePicker(layout, QStringLiteral("Appearance"), &CaptureStyle::shapeMode,
                       {QStringLiteral("Outline"), QStringLiteral("Fill"), QStringLiteral("Spotlight")});
        if (m_document->style().shapeMode == CaptureShapeMode::spotlight)
            addStyleSlider(layout, QStringLiteral("Outside opacity"), &CaptureStyle::spotlightOpacity,
                           CaptureToolRanges::spotlightOpacity, QStringLiteral("%"));
        addHelp(layout, QStringLiteral("Hold Shift to draw a square or circle. Use Select and the corner handles to "
                                       "adjust the area afterward."));
        break;
    case CaptureTool::freehand:
        colorWell(QStringLiteral("Color"));
        addStyleSlider(layout, QStringLiteral("Line width"), &CaptureStyle::lineWidth,
                       CaptureToolRanges::lineWidth(tool), px);
        addStylePicker(layout, QStringLiteral("Brush"), &CaptureStyle::brush,
                       {QStringLiteral("Pen"), QStringLiteral("Highlighter")});
        if (m_document->style().brush == CaptureBrush::highlighter)
            addStyleSlider(layout, QStringLiteral("Opacity"), &CaptureStyle::brushOpacity,
                           CaptureToolRanges::brushOpacity, QStringLiteral("%"));
        break;
    case CaptureTool::text:
        colorWell(QStringLiteral("Color"));
        addTextControls(layout);
        break;
    case CaptureTool::number:
        colorWell(QStringLiteral("Color"));
        addStylePicker(layout, QStringLiteral("Shape"), &CaptureStyle::numberShape,
                       {QStringLiteral("Circle"), QStringLiteral("Teardrop")});
        addStyleSlider(layout, QStringLiteral("Size"), &CaptureStyle::fontSize, CaptureToolRanges::fontSize(tool), pt);
        break;
    case CaptureTool::magnifier: {
        addStyleToggle(layout, QStringLiteral("Oval lens"), &CaptureStyle::magnifierOval);
        const std::optional<CaptureAnnotation> selected = m_document->selectedAnnotation();
        if (selected && selected->tool == CaptureTool::magnifier && selected->destination) {
            const QStringList figures = magnifierFigures(*selected);
            for (qsizetype line = 0; line < figures.size(); ++line) {
                QLabel *label = secondary(figures[line], layout->parentWidget());
                label->setObjectName(QStringLiteral("figure:%1").arg(line));
                layout->addWidget(label);
                m_refreshers.append([this, label, line] {
                    if (!m_document)
                        return;
                    const std::optional<CaptureAnnotation> lens = m_document->selectedAnnotation();
                    if (lens && lens->tool == CaptureTool::magnifier) {
                        const QStringList now = magnifierFigures(*lens);
                        if (line < now.size())
                            label->setText(now[line]);
                    }
                });
            }
        }
        addStyleSlider(layout, QStringLiteral("Outline width"), &CaptureStyle::lineWidth,
                       CaptureToolRanges::lineWidth(tool), px);
        colorWell(QStringLiteral("Outline"));
        addHelp(layout, QStringLiteral("Draw the source first, then draw the enlarged destination. In Select, drag "
                                       "either area to move it or its corner handles to resize it independently."));
        break;
    }
    case CaptureTool::redact:
        addHelp(layout, QStringLiteral("Opaque black permanently hides the covered pixels in exported images."));
        addDetectionControls(layout);
        break;
    case CaptureTool::pixelate:
        addHelp(layout, QStringLiteral("Opaque mosaic contains no original pixels."));
        addStyleSlider(layout, QStringLiteral("Block size"), &CaptureStyle::pixelSize,
                       CaptureToolRanges::pixelSize(tool), px);
        addDetectionControls(layout);
        break;
    case CaptureTool::imagePixelate:
        addStyleSlider(layout, QStringLiteral("Block size"), &CaptureStyle::pixelSize,
                       CaptureToolRanges::pixelSize(tool), px);
        addHelp(layout, QStringLiteral("Visual effect only. Use Black redaction or Secure mosaic for sensitive "
                                       "information."));
        break;
    case CaptureTool::blur:
        addStyleSlider(layout, QStringLiteral("Blur radius"), &CaptureStyle::blurRadius, CaptureToolRanges::blurRadius,
                       px);
        addHelp(layout, QStringLiteral("Visual effect only. Use Black redaction or Secure mosaic for sensitive "
                                       "information."));
        break;
    case CaptureTool::crop:
        addHelp(layout, QStringLiteral("Drag on the image to crop. Your annotations stay editable."));
        break;
    }
}

void CaptureInspector::addArrowControls(QVBoxLayout *layout)
{
    addStylePicker(layout, QStringLiteral("Arrowheads"), &CaptureStyle::arrowHead,
                   {QStringLiteral("None"), QStringLiteral("End"), QStringLiteral("Both ends")});
    addStylePicker(layout, QStringLiteral("Line"), &CaptureStyle::arrowDash,
                   {QStringLiteral("Solid"), QStringLiteral("Dashed"), QStringLiteral("Dotted")});
    addStyleToggle(layout, QStringLiteral("Curved arrow"), &CaptureStyle::arrowCurved);
    if (m_document->style().arrowCurved)
        addHelp(layout, QStringLiteral("Select an arrow and drag the middle handle to change its curve."));
}

void CaptureInspector::addTextControls(QVBoxLayout *layout)
{
    addFontPicker(layout);
    addStyleSlider(layout, QStringLiteral("Size"), &CaptureStyle::fontSize,
                   CaptureToolRanges::fontSize(CaptureTool::text), QStringLiteral("pt"));
    auto *traits = new QHBoxLayout;
    const struct {
        const char *title;
        const char *icon;
        const char *theme;
        bool CaptureStyle::*field;
    } buttons[] = {{"Bold", ":/icons/bold.svg", "format-text-bold", &CaptureStyle::bold},
                   {"Italic", ":/icons/italic.svg", "format-text-italic", &CaptureStyle::italic},
                   {"Underline", ":/icons/underline.svg", "format-text-underline", &CaptureStyle::underline}};
    for (const auto &trait : buttons) {
        auto *button = new QToolButton(layout->parentWidget());
        const QString title = QString::fromLatin1(trait.title);
        button->setObjectName(title);
        button->setText(title.left(1));
        button->setIcon(QIcon::fromTheme(QString::fromLatin1(trait.theme), QIcon(QString::fromLatin1(trait.icon))));
        button->setToolTip(title);
        button->setAccessibleName(title);
        button->setCheckable(true);
        const auto field = trait.field;
        m_refreshers.append([this, button, field] {
            const QSignalBlocker blocker(button);
            button->setChecked(m_document && m_document->style().*field);
        });
        m_refreshers.last()();
        connect(button, &QToolButton::toggled, this,
                [this, field](bool on) { editStyle([&](CaptureStyle &s) { s.*field = on; }); });
        traits->addWidget(button);
    }
    traits->addStretch(1);
    layout->addLayout(traits);
    addStyleToggle(layout, QStringLiteral("Text background"), &CaptureStyle::textBackgroundEnabled);
    if (m_document->style().textBackgroundEnabled)
        addColorWell(
            layout, QStringLiteral("Background"),
            [this] { return m_document ? m_document->style().textBackgroundColor : QColor(); },
            [this](const QColor &c) { editStyle([&](CaptureStyle &s) { s.textBackgroundColor = c; }); });
}

// The presets name fonts many systems lack: each entry is drawn in the font
// the mark will really get, named in its tooltip.
void CaptureInspector::addFontPicker(QVBoxLayout *layout)
{
    QWidget *parent = layout->parentWidget();
    const QString title = QStringLiteral("Font");
    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(title, parent));
    auto *picker = new QComboBox(parent);
    picker->setObjectName(title);
    picker->setAccessibleName(title);
    row->addWidget(picker, 1);
    layout->addLayout(row);
    auto show = [this, picker] {
        const QString current = m_document ? m_document->style().fontName : CaptureStyle::systemFontName;
        const QStringList families = fontFamilies(current);
        const QSignalBlocker blocker(picker);
        if (itemTexts(*picker) != families) {
            picker->clear();
            for (const QString &name : families) {
                const QString family = drawnFamily(name);
                QFont shown = picker->font();
                shown.setFamily(family);
                picker->addItem(name);
                picker->setItemData(picker->count() - 1, shown, Qt::FontRole);
                picker->setItemData(picker->count() - 1, tr("Drawn in %1").arg(family), Qt::ToolTipRole);
            }
        }
        picker->setCurrentIndex(int(families.indexOf(current)));
    };
    show();
    m_refreshers.append(show);
    connect(picker, &QComboBox::activated, this, [this, picker](int index) {
        if (index < 0)
            return;
        const QString name = picker->itemText(index);
        editStyle([&](CaptureStyle &s) { s.fontName = name; });
    });
}

void CaptureInspector::addDetectionControls(QVBoxLayout *layout)
{
    auto *detect = new QPushButton(QStringLiteral("Detect Text"), layout->parentWidget());
    detect->setObjectName(QStringLiteral("Detect Text"));
    detect->setIcon(
        QIcon::fromTheme(QStringLiteral("edit-find"), QIcon(QStringLiteral(":/icons/text.viewfinder.svg"))));
    layout->addWidget(detect);
    m_refreshers.append([this, detect] {
        detect->setEnabled(m_workspace && !m_workspace->detectingText() && !m_workspace->recognizing());
    });
    m_refreshers.last()();
    connect(detect, &QPushButton::clicked, this, [this] {
        if (m_workspace)
            m_workspace->findTextRegions();
    });
    addHelp(layout, QStringLiteral("Click highlighted text on the image to hide it with this tool."));
    auto *clear = new QPushButton(QStringLiteral("Clear Highlights"), layout->parentWidget());
    clear->setObjectName(QStringLiteral("Clear Highlights"));
    clear->setFlat(true);
    clear->setCursor(Qt::PointingHandCursor);
    QFont caption = clear->font();
    caption.setPointSizeF(caption.pointSizeF() * 0.85);
    clear->setFont(caption);
    m_refreshers.append([clear] {
        clear->setStyleSheet(QStringLiteral("QPushButton { color: %1; text-align: left; border: none; }")
                                 .arg(AppTheme::accent().name()));
    });
    m_refreshers.last()();
    connect(clear, &QPushButton::clicked, this, [this] {
        if (m_document)
            m_document->setDetectedTextRects({});
    });
    layout->addWidget(clear);
}

void CaptureInspector::addAppearanceControls(QVBoxLayout *layout)
{
    const auto cases = allCases<CaptureBackground>();
    addPicker(
        layout, QStringLiteral("Background"),
        {QStringLiteral("Transparent"), QStringLiteral("Solid"), QStringLiteral("Gradient")},
        [this, cases] {
            return m_document ? int(std::find(cases.begin(), cases.end(), m_document->composition().background) -
                                    cases.begin())
                              : 0;
        },
        [this, cases](int index) {
            if (index >= 0 && index < int(cases.size()))
                editComposition([&](CaptureComposition &c) { c.background = cases[index]; });
        });
    const auto compositionColor = [this, layout](const QString &title, QColor CaptureComposition::*field) {
        addColorWell(
            layout, title, [this, field] { return m_document ? m_document->composition().*field : QColor(); },
            [this, field](const QColor &color) { editComposition([&](CaptureComposition &c) { c.*field = color; }); });
    };
    const CaptureBackground background = m_document->composition().background;
    if (background != CaptureBackground::transparent) {
        compositionColor(QStringLiteral("Background color"), &CaptureComposition::backgroundColor);
        if (background == CaptureBackground::gradient)
            compositionColor(QStringLiteral("Second color"), &CaptureComposition::gradientColor);
    }
    addCompositionSlider(layout, QStringLiteral("Padding"), &CaptureComposition::padding, 0, 160);
    addCompositionSlider(layout, QStringLiteral("Corners"), &CaptureComposition::cornerRadius, 0, 80);
    addCompositionSlider(layout, QStringLiteral("Shadow"), &CaptureComposition::shadow, 0, 60);
    addCompositionSlider(layout, QStringLiteral("Border"), &CaptureComposition::borderWidth, 0, 12);
    compositionColor(QStringLiteral("Border color"), &CaptureComposition::borderColor);

    auto *buttons = new QHBoxLayout;
    auto *save = new QPushButton(QStringLiteral("Save as default"), layout->parentWidget());
    save->setObjectName(QStringLiteral("Save as default"));
    save->setToolTip(QStringLiteral("Use this background, padding, shadow and border for new captures"));
    connect(save, &QPushButton::clicked, this, [this] {
        if (!m_workspace || !m_workspace->board())
            return;
        CaptureDecorationDefaults::save(m_workspace->board()->composition(), m_defaults);
        m_workspace->setNotice(QStringLiteral("Background saved as the default for new captures"));
    });
    auto *reset = new QPushButton(QStringLiteral("Reset default"), layout->parentWidget());
    reset->setObjectName(QStringLiteral("Reset default"));
    reset->setToolTip(QStringLiteral("Restore transparent defaults for future captures"));
    connect(reset, &QPushButton::clicked, this, [this] {
        m_defaults.remove(CaptureDecorationDefaults::key);
        if (m_workspace)
            m_workspace->setNotice(QStringLiteral("New captures will use the original transparent background"));
    });
    buttons->addWidget(save);
    buttons->addWidget(reset);
    buttons->addStretch(1);
    layout->addLayout(buttons);
}

void CaptureInspector::addLegendControls(QVBoxLayout *layout)
{
    QWidget *parent = layout->parentWidget();
    addToggle(
        layout, QStringLiteral("Include in image"), [this] { return m_document && m_document->legendEnabled(); },
        [this](bool on) {
            if (m_document)
                m_document->setLegendEnabled(on);
        });
    const auto placements = allCases<CaptureLegendPlacement>();
    addPicker(
        layout, QStringLiteral("Position"), {QStringLiteral("Bottom"), QStringLiteral("Right"), QStringLiteral("Left")},
        [this, placements] {
            return m_document ? int(std::find(placements.begin(), placements.end(),
                                              m_document->composition().legend.placement) -
                                    placements.begin())
                              : 0;
        },
        [this, placements](int index) {
            if (index >= 0 && index < int(placements.size()))
                editComposition([&](CaptureComposition &c) { c.legend.placement = placements[index]; });
        });
    addToggle(
        layout, QStringLiteral("Fit to content"),
        [this] { return m_document && m_document->composition().legend.fitToContent; },
        [this](bool on) { editComposition([&](CaptureComposition &c) { c.legend.fitToContent = on; }); });

    const CaptureComposition &composition = m_document->composition();
    const bool bottom = composition.legend.placement == CaptureLegendPlacement::bottom;
    if (!composition.legend.fitToContent) {
        auto *row = new QHBoxLayout;
        row->addWidget(new QLabel(bottom ? QStringLiteral("Height") : QStringLiteral("Width"), parent));
        auto *field = new QLineEdit(parent);
        field->setObjectName(QStringLiteral("Legend dimension"));
        field->setPlaceholderText(QStringLiteral("Pixels"));
        field->setAccessibleName(bottom ? QStringLiteral("Legend height in pixels")
                                        : QStringLiteral("Legend width in pixels"));
        row->addWidget(field, 1);
        row->addWidget(new QLabel(QStringLiteral("px"), parent));
        layout->addLayout(row);
        m_refreshers.append([this, field] {
            if (!m_document || field->hasFocus())
                return;
            const CaptureLegendSettings &legend = m_document->composition().legend;
            field->setText(QString::number(
                legend.placement == CaptureLegendPlacement::bottom ? legend.height : legend.width, 'g', 10));
        });
        m_refreshers.last()();
        connect(field, &QLineEdit::editingFinished, this, [this, field] {
            if (!m_document)
                return;
            bool ok = false;
            const double typed = field->text().trimmed().toDouble(&ok);
            if (ok)
                setLegendDimension(*m_document, typed);
            const CaptureLegendSettings &legend = m_document->composition().legend;
            field->setText(QString::number(
                legend.placement == CaptureLegendPlacement::bottom ? legend.height : legend.width, 'g', 10));
        });
    }
    addHelp(layout, QStringLiteral("Drag the legend\u2019s outer divider to resize. Text wraps at its original size."));

    const QList<CaptureLegendEntry> entries = m_document->legendEntries();
    const QList<CaptureLegendEntry> shown = m_document->legendEnabled() ? entries : QList<CaptureLegendEntry>();
    const QRectF extent = CaptureRenderer::contentExtent(m_document->cropRect(), m_document->annotations());
    if (CaptureRenderer::baseLayout(extent, composition, shown).legendOverflow) {
        QLabel *warning =
            secondary(QStringLiteral("Text needs more room. The image expands to include every line."), parent);
        warning->setObjectName(QStringLiteral("Legend overflow"));
        warning->setWordWrap(true);
        layout->addWidget(warning);
    }
    if (entries.isEmpty()) {
        addHelp(layout, QStringLiteral("Place numbered markers on the image to add their descriptions here."));
        return;
    }
    for (const CaptureLegendEntry &entry : entries) {
        auto *row = new QHBoxLayout;
        auto *badge = new QLabel(QString::number(entry.number), parent);
        badge->setAlignment(Qt::AlignCenter);
        badge->setFixedSize(22, 22);
        m_refreshers.append([badge] {
            QColor tint = AppTheme::accent();
            tint.setAlphaF(0.12f);
            badge->setStyleSheet(QStringLiteral("QLabel { background: %1; border-radius: 11px; font-weight: 600; }")
                                     .arg(tint.name(QColor::HexArgb)));
        });
        m_refreshers.last()();
        row->addWidget(badge, 0, Qt::AlignTop);
        auto *field = new QPlainTextEdit(parent);
        const QString number = QString::number(entry.number);
        field->setObjectName(QStringLiteral("Description for marker ") + number);
        field->setAccessibleName(QStringLiteral("Description for marker ") + number);
        field->setPlaceholderText(QStringLiteral("Description"));
        field->setTabChangesFocus(true);
        const int line = field->fontMetrics().lineSpacing();
        field->setFixedHeight(line * 2 + 12);
        field->setPlainText(entry.text);
        const QUuid id = entry.id;
        auto fit = [field, line] {
            const int lines = std::clamp(int(field->document()->lineCount()), 1, 4);
            field->setFixedHeight(line * lines + 12);
        };
        fit();
        connect(field, &QPlainTextEdit::textChanged, this, [this, field, id, fit] {
            fit();
            if (!m_document)
                return;
            // The document announces the change before it stores the text:
            // refreshing this field meanwhile would put the old text back
            // and the cursor at its start.
            const QScopedValueRollback writing(m_writingLegend, id);
            m_document->setLegendText(id, field->toPlainText());
        });
        m_refreshers.append([this, field, id] {
            if (!m_document || id == m_writingLegend)
                return;
            for (const CaptureLegendEntry &now : m_document->legendEntries())
                if (now.id == id && now.text != field->toPlainText()) {
                    const QSignalBlocker blocker(field);
                    field->setPlainText(now.text);
                }
        });
        row->addWidget(field, 1);
        layout->addLayout(row);
    }
}
