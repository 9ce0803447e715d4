#include "CaptureInspector.h"

#include "AcceleratorText.h"
#include "AppTheme.h"
#include "CaptureDecorationDefaults.h"
#include "CaptureRenderer.h"
#include "CaptureToolTable.h"
#include "SymbolIconEngine.h"
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

const QStringList fontPresets{CaptureStyle::systemFontName,  QStringLiteral("Helvetica Neue"),
                              QStringLiteral("Avenir Next"), QStringLiteral("Georgia"),
                              QStringLiteral("Menlo"),       QStringLiteral("Times New Roman")};

// The family a text mark named `name` is drawn in: a missing font falls back.
QString drawnFamily(const QString &name)
{
    CaptureStyle style;
    style.fontName = name;
    return QFontInfo(style.font()).family();
}

// The stored font names a font picker lists.
QStringList itemNames(const QComboBox &picker)
{
    QStringList names;
    for (int index = 0; index < picker.count(); ++index)
        names.append(picker.itemData(index).toString());
    return names;
}

QString sizeText(double width, double height)
{
    return CaptureInspector::tr("%1 × %2 px").arg(qint64(width)).arg(qint64(height));
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
    const QString title = CaptureToolTable::title(effectiveTool());
    if (m_document && m_document->selectedAnnotation())
        return tr("Selected %1").arg(title.toLower());
    return tr("%1 style").arg(title);
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
    return {tr("Source: %1").arg(sizeText(sourceWidth, sourceHeight)),
            tr("Destination: %1").arg(sizeText(destination.width(), destination.height())),
            tr("Scale: %1×").arg(QString::asprintf("%.2f", scale))};
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
        addHelp(m_layout, tr("Open a capture to edit it."));
        m_layout->addStretch(1);
        return;
    }

    auto *header = new QWidget(m_content);
    auto *headerRow = new QHBoxLayout(header);
    headerRow->setContentsMargins(0, 0, 0, 0);
    auto *title = new QLabel(tr("Inspector"), header);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    title->setFont(titleFont);
    headerRow->addWidget(title);
    headerRow->addStretch(1);
    if (m_document->selectedAnnotation()) {
        auto *trash = new QToolButton(header);
        trash->setObjectName(QStringLiteral("Delete selected annotation"));
        trash->setIcon(QIcon::fromTheme(QStringLiteral("edit-delete"),
                                        SymbolIconEngine::icon(QStringLiteral(":/icons/trash.svg"))));
        trash->setAutoRaise(true);
        trash->setToolTip(tr("Delete selected annotation"));
        trash->setAccessibleName(trash->toolTip());
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
    m_layout->addWidget(collapsibleGroup(tr("Image appearance"), m_showAppearance,
                                         [this](QVBoxLayout *l) { addAppearanceControls(l); }));
    divider();
    m_layout->addWidget(
        collapsibleGroup(tr("Numbered legend"), m_showLegend, [this](QVBoxLayout *l) { addLegendControls(l); }));
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
        value->setText(tr("%1 %2", "a slider's value and its unit").arg(qint64(current)).arg(unit));
        const QSignalBlocker blocker(slider);
        slider->setValue(int(std::lround(current)));
    };
    show();
    m_refreshers.append(show);
    connect(slider, &QSlider::valueChanged, this, [write](int v) { write(v); });
}

// The slider shows the shared style value within the tool's own range.
void CaptureInspector::addStyleSlider(QVBoxLayout *layout, const CaptureToolControl &control)
{
    const auto field = control.field;
    const CaptureValueRange range = control.range;
    addSlider(
        layout, control.labelText(), int(range.low), int(range.high), control.unitText(),
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
        layout, title, low, high, tr("px"),
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
    for (const CaptureToolControl &control : CaptureToolTable::row(effectiveTool()).controls) {
        if (control.shownFor(m_document->style()))
            addToolControl(layout, control);
    }
}

void CaptureInspector::addToolControl(QVBoxLayout *layout, const CaptureToolControl &control)
{
    const QString label = control.labelText();
    switch (control.kind) {
    case CaptureToolControlKind::help:
        addHelp(layout, label);
        break;
    case CaptureToolControlKind::color:
        addColorWell(
            layout, label, [this] { return m_document ? m_document->color() : QColor(); },
            [this](const QColor &c) {
                if (m_document)
                    m_document->setColor(c);
            });
        break;
    case CaptureToolControlKind::slider:
        addStyleSlider(layout, control);
        break;
    case CaptureToolControlKind::shapeModePicker:
        addStylePicker(layout, label, &CaptureStyle::shapeMode, {tr("Outline"), tr("Fill"), tr("Spotlight")});
        break;
    case CaptureToolControlKind::brushPicker:
        addStylePicker(layout, label, &CaptureStyle::brush, {tr("Pen"), tr("Highlighter")});
        break;
    case CaptureToolControlKind::numberShapePicker:
        addStylePicker(layout, label, &CaptureStyle::numberShape, {tr("Circle"), tr("Teardrop")});
        break;
    case CaptureToolControlKind::ovalLensToggle:
        addStyleToggle(layout, label, &CaptureStyle::magnifierOval);
        break;
    case CaptureToolControlKind::lensFigures:
        addLensFigures(layout);
        break;
    case CaptureToolControlKind::arrowControls:
        addArrowControls(layout);
        break;
    case CaptureToolControlKind::fontPicker:
        addFontPicker(layout, label);
        break;
    case CaptureToolControlKind::textTraits:
        addTextTraits(layout);
        break;
    case CaptureToolControlKind::textBackground:
        addStyleToggle(layout, label, &CaptureStyle::textBackgroundEnabled);
        if (m_document->style().textBackgroundEnabled)
            addColorWell(
                layout, tr("Background"),
                [this] { return m_document ? m_document->style().textBackgroundColor : QColor(); },
                [this](const QColor &c) { editStyle([&](CaptureStyle &s) { s.textBackgroundColor = c; }); });
        break;
    case CaptureToolControlKind::detectionControls:
        addDetectionControls(layout);
        break;
    }
}

// Source, destination and scale of the selected lens, once it is placed.
void CaptureInspector::addLensFigures(QVBoxLayout *layout)
{
    const std::optional<CaptureAnnotation> selected = m_document->selectedAnnotation();
    if (!selected || selected->tool != CaptureTool::magnifier || !selected->destination)
        return;
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

void CaptureInspector::addArrowControls(QVBoxLayout *layout)
{
    addStylePicker(layout, tr("Arrowheads"), &CaptureStyle::arrowHead, {tr("None"), tr("End"), tr("Both ends")});
    addStylePicker(layout, tr("Line"), &CaptureStyle::arrowDash, {tr("Solid"), tr("Dashed"), tr("Dotted")});
    addStyleToggle(layout, tr("Curved arrow"), &CaptureStyle::arrowCurved);
    if (m_document->style().arrowCurved)
        addHelp(layout, tr("Select an arrow and drag the middle handle to change its curve."));
}

void CaptureInspector::addTextTraits(QVBoxLayout *layout)
{
    auto *traits = new QHBoxLayout;
    const struct {
        const char *title;
        const char *icon;
        const char *theme;
        bool CaptureStyle::*field;
    } buttons[] = {
        {QT_TR_NOOP("Bold"), ":/icons/bold.svg", "format-text-bold", &CaptureStyle::bold},
        {QT_TR_NOOP("Italic"), ":/icons/italic.svg", "format-text-italic", &CaptureStyle::italic},
        {QT_TR_NOOP("Underline"), ":/icons/underline.svg", "format-text-underline", &CaptureStyle::underline}};
    for (const auto &trait : buttons) {
        auto *button = new QToolButton(layout->parentWidget());
        const QString title = tr(trait.title);
        button->setObjectName(QString::fromLatin1(trait.title));
        button->setText(title.left(1));
        button->setIcon(QIcon::fromTheme(QString::fromLatin1(trait.theme),
                                         SymbolIconEngine::icon(QString::fromLatin1(trait.icon))));
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
}

// The presets name fonts many systems lack: each entry is drawn in the font
// the mark will really get, named in its tooltip.
void CaptureInspector::addFontPicker(QVBoxLayout *layout, const QString &title)
{
    QWidget *parent = layout->parentWidget();
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
        if (itemNames(*picker) != families) {
            picker->clear();
            for (const QString &name : families) {
                const QString family = drawnFamily(name);
                QFont shown = picker->font();
                shown.setFamily(family);
                picker->addItem(name == CaptureStyle::systemFontName ? tr("System") : name, name);
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
        const QString name = picker->itemData(index).toString();
        editStyle([&](CaptureStyle &s) { s.fontName = name; });
    });
}

void CaptureInspector::addDetectionControls(QVBoxLayout *layout)
{
    auto *detect = new QPushButton(tr("Detect Text"), layout->parentWidget());
    detect->setObjectName(QStringLiteral("Detect Text"));
    detect->setIcon(QIcon::fromTheme(QStringLiteral("edit-find"),
                                     SymbolIconEngine::icon(QStringLiteral(":/icons/text.viewfinder.svg"))));
    layout->addWidget(detect);
    m_refreshers.append([this, detect] {
        detect->setEnabled(m_workspace && !m_workspace->detectingText() && !m_workspace->recognizing());
    });
    m_refreshers.last()();
    connect(detect, &QPushButton::clicked, this, [this] {
        if (m_workspace)
            m_workspace->findTextRegions();
    });
    addHelp(layout, tr("Click highlighted text on the image to hide it with this tool."));
    auto *clear = new QPushButton(tr("Clear Highlights"), layout->parentWidget());
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
        layout, tr("Background"), {tr("Transparent"), tr("Solid"), tr("Gradient")},
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
        compositionColor(tr("Background color"), &CaptureComposition::backgroundColor);
        if (background == CaptureBackground::gradient)
            compositionColor(tr("Second color"), &CaptureComposition::gradientColor);
    }
    addCompositionSlider(layout, tr("Padding"), &CaptureComposition::padding, 0, 160);
    addCompositionSlider(layout, tr("Corners"), &CaptureComposition::cornerRadius, 0, 80);
    addCompositionSlider(layout, tr("Shadow"), &CaptureComposition::shadow, 0, 60);
    addCompositionSlider(layout, tr("Border"), &CaptureComposition::borderWidth, 0, 12);
    compositionColor(tr("Border color"), &CaptureComposition::borderColor);

    auto *buttons = new QHBoxLayout;
    auto *save = new QPushButton(tr("Save as default"), layout->parentWidget());
    save->setObjectName(QStringLiteral("Save as default"));
    save->setToolTip(tr("Use this background, padding, shadow and border for new captures"));
    connect(save, &QPushButton::clicked, this, [this] {
        if (!m_workspace || !m_workspace->board())
            return;
        CaptureDecorationDefaults::save(m_workspace->board()->composition(), m_defaults);
        m_workspace->setNotice(tr("Background saved as the default for new captures"));
    });
    auto *reset = new QPushButton(tr("Reset default"), layout->parentWidget());
    reset->setObjectName(QStringLiteral("Reset default"));
    reset->setToolTip(tr("Restore transparent defaults for future captures"));
    connect(reset, &QPushButton::clicked, this, [this] {
        m_defaults.remove(CaptureDecorationDefaults::key);
        if (m_workspace)
            m_workspace->setNotice(tr("New captures will use the original transparent background"));
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
        layout, tr("Include in image"), [this] { return m_document && m_document->legendEnabled(); },
        [this](bool on) {
            if (m_document)
                m_document->setLegendEnabled(on);
        });
    const auto placements = allCases<CaptureLegendPlacement>();
    addPicker(
        layout, tr("Position"), {tr("Bottom"), tr("Right"), tr("Left")},
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
        layout, tr("Fit to content"), [this] { return m_document && m_document->composition().legend.fitToContent; },
        [this](bool on) { editComposition([&](CaptureComposition &c) { c.legend.fitToContent = on; }); });

    const CaptureComposition &composition = m_document->composition();
    const bool bottom = composition.legend.placement == CaptureLegendPlacement::bottom;
    if (!composition.legend.fitToContent) {
        auto *row = new QHBoxLayout;
        row->addWidget(new QLabel(bottom ? tr("Height") : tr("Width"), parent));
        auto *field = new QLineEdit(parent);
        field->setObjectName(QStringLiteral("Legend dimension"));
        field->setPlaceholderText(tr("Pixels"));
        field->setAccessibleName(bottom ? tr("Legend height in pixels") : tr("Legend width in pixels"));
        row->addWidget(field, 1);
        row->addWidget(new QLabel(tr("px"), parent));
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
    addHelp(layout, tr("Drag the legend\u2019s outer divider to resize. Text wraps at its original size."));

    const QList<CaptureLegendEntry> entries = m_document->legendEntries();
    const QList<CaptureLegendEntry> shown = m_document->legendEnabled() ? entries : QList<CaptureLegendEntry>();
    const QRectF extent = CaptureRenderer::contentExtent(m_document->cropRect(), m_document->annotations());
    if (CaptureRenderer::baseLayout(extent, composition, shown).legendOverflow) {
        QLabel *warning = secondary(tr("Text needs more room. The image expands to include every line."), parent);
        warning->setObjectName(QStringLiteral("Legend overflow"));
        warning->setWordWrap(true);
        layout->addWidget(warning);
    }
    if (entries.isEmpty()) {
        addHelp(layout, tr("Place numbered markers on the image to add their descriptions here."));
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
        field->setAccessibleName(tr("Description for marker %1").arg(number));
        field->setPlaceholderText(tr("Description"));
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
