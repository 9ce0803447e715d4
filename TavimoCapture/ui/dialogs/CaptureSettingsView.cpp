#include "CaptureSettingsView.h"

#include "CaptureAutostart.h"
#include "CaptureFileSystemFailure.h"
#include "CapturePreferences.h"
#include "RawEnum.h"
#include "SupportSettingsFooter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>

namespace {

QLabel *note(const QString &text)
{
    auto *label = new QLabel(text);
    label->setWordWrap(true);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

template <typename Enum> QComboBox *picker()
{
    auto *combo = new QComboBox;
    for (const Enum value : RawEnum<Enum>::cases)
        combo->addItem(settingsLabel(value));
    return combo;
}

template <typename Enum> Enum pickedCase(int index)
{
    return RawEnum<Enum>::cases[std::size_t(std::clamp(index, 0, int(RawEnum<Enum>::cases.size()) - 1))];
}

template <typename Enum> int indexOf(Enum value)
{
    const auto &cases = RawEnum<Enum>::cases;
    return int(std::find(cases.begin(), cases.end(), value) - cases.begin());
}

int wholeSeconds(double seconds)
{
    return int(std::trunc(CapturePreferences::clampedThumbnailSeconds(seconds)));
}

} // namespace

CaptureSettingsView::CaptureSettingsView(CapturePreferences &preferences, CaptureAutostart &autostart,
                                         TavimoSignals &tavimoSignals, FolderChooser chooseFolder, QWidget *parent)
    : QWidget(parent), m_preferences(preferences), m_autostart(autostart), m_chooseFolder(std::move(chooseFolder)),
      m_login(new QCheckBox(tr("Start Tavimo Capture at login"))), m_loginFailure(note({})),
      m_copy(new QCheckBox(tr("Copy image to clipboard"))), m_save(new QCheckBox(tr("Save automatically"))),
      m_folder(new QLabel), m_chooseFolderButton(new QPushButton(tr("Folder"))),
      m_editor(picker<CaptureEditorPolicy>()), m_thumbnail(new QCheckBox(tr("Show thumbnail"))),
      m_seconds(new QSpinBox), m_shortcut(picker<CaptureThumbnailShortcut>())
{
    setWindowTitle(tr("Capture Settings"));
    resize(panelSize);

    auto *content = new QWidget;
    auto *column = new QVBoxLayout(content);
    column->addWidget(startup());
    column->addWidget(afterCapturing());
    column->addWidget(thumbnailSection());
    column->addWidget(new SupportSettingsFooter(tavimoSignals));
    column->addStretch();
    auto *scroll = new QScrollArea;
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);

    connect(m_login, &QCheckBox::toggled, this, &CaptureSettingsView::setStartsAtLogin);
    connect(m_copy, &QCheckBox::toggled, &m_preferences, &CapturePreferences::setAutoCopy);
    connect(m_save, &QCheckBox::toggled, &m_preferences, &CapturePreferences::setAutoSave);
    connect(m_chooseFolderButton, &QPushButton::clicked, this, &CaptureSettingsView::chooseFolder);
    connect(m_editor, &QComboBox::activated, this,
            [this](int index) { m_preferences.setEditorPolicy(pickedCase<CaptureEditorPolicy>(index)); });
    connect(m_thumbnail, &QCheckBox::toggled, &m_preferences, &CapturePreferences::setShowThumbnail);
    connect(m_seconds, &QSpinBox::valueChanged, this, [this](int seconds) {
        if (seconds != wholeSeconds(m_preferences.thumbnailSeconds()))
            m_preferences.setThumbnailSeconds(seconds);
    });
    connect(m_shortcut, &QComboBox::activated, this,
            [this](int index) { m_preferences.setThumbnailShortcut(pickedCase<CaptureThumbnailShortcut>(index)); });
    for (const auto signal : {&CapturePreferences::autoCopyChanged, &CapturePreferences::autoSaveChanged,
                              &CapturePreferences::showThumbnailChanged})
        connect(&m_preferences, signal, this, &CaptureSettingsView::showPreferences);
    connect(&m_preferences, &CapturePreferences::folderChanged, this, &CaptureSettingsView::showPreferences);
    connect(&m_preferences, &CapturePreferences::editorPolicyChanged, this, &CaptureSettingsView::showPreferences);
    connect(&m_preferences, &CapturePreferences::thumbnailSecondsChanged, this, &CaptureSettingsView::showPreferences);
    connect(&m_preferences, &CapturePreferences::thumbnailShortcutChanged, this, &CaptureSettingsView::showPreferences);
    showPreferences();
    showStartsAtLogin();
}

CaptureSettingsView::FolderChooser CaptureSettingsView::systemFolderChooser()
{
    return [](QWidget *parent, const QString &current) -> std::optional<QString> {
        const QString folder = QFileDialog::getExistingDirectory(parent, tr("Folder"), current);
        if (folder.isEmpty())
            return std::nullopt;
        return folder;
    };
}

void CaptureSettingsView::showEvent(QShowEvent *event)
{
    // The entry is a file the user or the desktop may change meanwhile.
    showStartsAtLogin();
    QWidget::showEvent(event);
}

QWidget *CaptureSettingsView::startup()
{
    auto *section = new QGroupBox;
    auto *form = new QFormLayout(section);
    form->addRow(m_login);
    m_loginFailure->setVisible(false);
    form->addRow(m_loginFailure);
    return section;
}

QWidget *CaptureSettingsView::afterCapturing()
{
    auto *section = new QGroupBox(tr("After capturing"));
    auto *form = new QFormLayout(section);
    form->addRow(m_copy);
    form->addRow(m_save);
    form->addRow(note(tr("Saved inside a dated folder. Existing captures are never overwritten.")));
    m_folder->setForegroundRole(QPalette::PlaceholderText);
    m_folder->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(m_folder, 1);
    folderRow->addWidget(m_chooseFolderButton);
    form->addRow(folderRow);
    form->addRow(tr("Open editor"), m_editor);
    return section;
}

QWidget *CaptureSettingsView::thumbnailSection()
{
    auto *section = new QGroupBox(tr("Thumbnail"));
    auto *form = new QFormLayout(section);
    form->addRow(m_thumbnail);
    m_seconds->setRange(1, 30);
    m_seconds->setSingleStep(1);
    // One sentence to translate, split around the number.
    const QStringList around = tr("Show for %1 seconds").split(QStringLiteral("%1"));
    m_seconds->setPrefix(around.value(0));
    m_seconds->setSuffix(around.value(1));
    form->addRow(m_seconds);
    form->addRow(tr("Thumbnail shortcut"), m_shortcut);
    form->addRow(note(
        tr("The shortcut is active only while the thumbnail is visible. Hover to pause. With From thumbnail, click to "
           "edit this capture; Never shows a preview only. Text capture uses its own clipboard workflow.")));
    return section;
}

void CaptureSettingsView::chooseFolder()
{
    if (const std::optional<QString> folder = m_chooseFolder(this, m_preferences.folder()))
        m_preferences.setFolder(*folder);
}

void CaptureSettingsView::setStartsAtLogin(bool starts)
{
    try {
        m_autostart.setEnabled(starts);
        m_loginFailure->setVisible(false);
    } catch (const CaptureFileSystemError &error) {
        m_loginFailure->setText(error.description());
        m_loginFailure->setVisible(true);
    }
    showStartsAtLogin();
}

void CaptureSettingsView::showStartsAtLogin()
{
    const QSignalBlocker blocker(m_login);
    m_login->setChecked(m_autostart.enabled());
}

void CaptureSettingsView::showPreferences()
{
    const QSignalBlocker blockers[] = {QSignalBlocker(m_copy), QSignalBlocker(m_save), QSignalBlocker(m_thumbnail),
                                       QSignalBlocker(m_seconds)};
    m_copy->setChecked(m_preferences.autoCopy());
    m_save->setChecked(m_preferences.autoSave());
    m_folder->setText(m_folder->fontMetrics().elidedText(m_preferences.folder(), Qt::ElideMiddle, 400));
    m_folder->setToolTip(m_preferences.folder());
    m_editor->setCurrentIndex(indexOf(m_preferences.editorPolicy()));
    m_thumbnail->setChecked(m_preferences.showThumbnail());
    m_seconds->setValue(wholeSeconds(m_preferences.thumbnailSeconds()));
    m_shortcut->setCurrentIndex(indexOf(m_preferences.thumbnailShortcut()));
    m_seconds->setEnabled(m_preferences.showThumbnail());
    m_shortcut->setEnabled(m_preferences.showThumbnail());
}
