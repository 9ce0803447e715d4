#include "CaptureWelcomeView.h"

#include "CaptureCommandButton.h"
#include "CaptureWorkspace.h"
#include "SymbolLabel.h"

#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel *centredLabel(const QString &text, double scale, bool bold)
{
    auto *label = new QLabel(text);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * scale);
    font.setBold(bold);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

CaptureWelcomeView::CaptureWelcomeView(CaptureWorkspace &model,
                                       std::optional<DesktopPermissionSettings::Command> permissionSettings,
                                       QWidget *parent)
    : QWidget(parent), m_model(model),
      m_capture(new CaptureCommandButton(tr("Capture Area or Window"), shortcutLabel(CaptureMode::area)))
{
    auto *symbol = new SymbolLabel(QStringLiteral(":/icons/viewfinder.svg"), 56, Qt::AlignCenter);
    auto *text = centredLabel(tr("Select an area or window, add your notes,\nand copy a finished image."), 1.1, false);
    text->setForegroundRole(QPalette::PlaceholderText);

    m_capture->setDefault(true);
    m_capture->setMinimumHeight(36);
    connect(m_capture, &QPushButton::clicked, this, [this] {
        if (m_model.capture())
            m_model.capture()(CaptureMode::area);
    });
    connect(&model, &CaptureWorkspace::busyChanged, this, [this] { m_capture->setEnabled(!m_model.busy()); });
    m_capture->setEnabled(!model.busy());

    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(14);
    layout->addStretch(1);
    layout->addWidget(symbol);
    layout->addWidget(centredLabel(tr("A clear way to show it."), 1.8, true));
    layout->addWidget(text);
    layout->addSpacing(6);
    layout->addWidget(m_capture, 0, Qt::AlignHCenter);
    if (permissionSettings)
        addPermissionButton(layout, *permissionSettings);
    layout->addStretch(2);
}

QString CaptureWelcomeView::permissionButtonTitle()
{
    return tr("Screenshot Permissions");
}

QString CaptureWelcomeView::settingsUnavailableNotice()
{
    return tr("The desktop's settings could not be opened. Allow screenshots for Tavimo Capture there.");
}

void CaptureWelcomeView::addPermissionButton(QVBoxLayout *layout, const DesktopPermissionSettings::Command &settings)
{
    auto *permission = new QPushButton(permissionButtonTitle());
    permission->setFlat(true);
    permission->setToolTip(tr("Open the desktop's settings, where apps may be allowed to take screenshots."));
    connect(permission, &QPushButton::clicked, this, [this, settings] {
        if (!QProcess::startDetached(settings.program, settings.arguments))
            m_model.setNotice(settingsUnavailableNotice());
    });
    layout->addWidget(permission, 0, Qt::AlignHCenter);
}
