#include "CaptureAppDelegate.h"
#include "CaptureBoard.h"
#include "CaptureBoardView.h"
#include "CaptureDocument.h"
#include "CaptureMenus.h"
#include "CapturePreferences.h"
#include "CaptureThumbnail.h"
#include "CaptureTool.h"
#include "CaptureTranslations.h"
#include "ScriptedClipboard.h"
#include "ScriptedHotKeys.h"
#include "ScriptedPanels.h"
#include "SupportWindow.h"
#include "TavimoSignals.h"
#include "UpdatePrompt.h"
#include "UserDefaults.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSpinBox>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <map>

namespace {

// A button, action or menu title as the user reads it: "&&" shows as "&",
// a single "&" marks the mnemonic and does not show.
QString withoutMnemonics(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return text;
}

// A label's text as the user reads it.
QString plain(const QString &text)
{
    return Qt::mightBeRichText(text) ? QTextDocumentFragment::fromHtml(text).toPlainText() : text;
}

// Every source text of the English catalogue in the source tree.
QStringList catalogueSources()
{
    QFile file(QStringLiteral(TAVIMO_SOURCE_DIR "/TavimoCapture/translations/tavimo_capture_en.ts"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList sources;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("source"))
            sources.append(xml.readElementText());
    }
    return sources;
}

// Source texts as written and as a button shows them, with their "%1" parts
// open to any value.
class Catalogue {
public:
    explicit Catalogue(const QStringList &sources)
    {
        for (const QString &source : sources) {
            add(source);
            add(withoutMnemonics(source));
        }
    }

    bool isEmpty() const { return m_texts.isEmpty(); }

    bool holds(const QString &text) const
    {
        if (m_texts.contains(text))
            return true;
        return std::any_of(m_templates.begin(), m_templates.end(),
                           [&text](const QRegularExpression &pattern) { return pattern.match(text).hasMatch(); });
    }

private:
    void add(const QString &text)
    {
        static const QRegularExpression placeholder(QStringLiteral("%[1-9]"));
        if (!text.contains(placeholder)) {
            m_texts.insert(text);
            return;
        }
        QStringList pieces = text.split(placeholder);
        for (QString &piece : pieces)
            piece = QRegularExpression::escape(piece);
        m_templates.append(QRegularExpression(QRegularExpression::anchoredPattern(pieces.join(QStringLiteral("(.+)"))),
                                              QRegularExpression::DotMatchesEverythingOption));
    }

    QSet<QString> m_texts;
    QList<QRegularExpression> m_templates;
};

// A key such as "Ctrl+Shift+2", named by Qt in the desktop's words.
bool isKeyText(const QString &text)
{
    const QKeySequence keys = QKeySequence::fromString(text, QKeySequence::NativeText);
    return !keys.isEmpty() && keys.toString(QKeySequence::NativeText) == text;
}

// Numbers, sizes and punctuation carry no words to translate.
bool hasNoWords(const QString &text)
{
    static const QRegularExpression words(QStringLiteral("[[:alpha:]]{2,}"));
    return !text.contains(words);
}

using Found = std::map<QString, QString>;

void note(Found &found, const QString &text, const QObject *where)
{
    if (!text.trimmed().isEmpty())
        found.try_emplace(text, QString::fromLatin1(where->metaObject()->className()));
}

void collectActions(Found &found, const QList<QAction *> &actions)
{
    for (const QAction *action : actions) {
        note(found, withoutMnemonics(action->text()), action);
        note(found, action->toolTip(), action);
        if (const QMenu *menu = action->menu()) {
            note(found, withoutMnemonics(menu->title()), menu);
            collectActions(found, menu->actions());
        }
    }
}

void collectWidget(Found &found, const QWidget *widget)
{
    note(found, widget->toolTip(), widget);
    collectActions(found, widget->actions());
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        note(found, plain(label->text()), widget);
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        note(found, withoutMnemonics(button->text()), widget);
    if (const auto *group = qobject_cast<const QGroupBox *>(widget))
        note(found, withoutMnemonics(group->title()), widget);
    if (const auto *combo = qobject_cast<const QComboBox *>(widget)) {
        for (int i = 0; i < combo->count(); ++i)
            note(found, combo->itemText(i), widget);
    }
    if (const auto *spin = qobject_cast<const QSpinBox *>(widget)) {
        note(found, spin->prefix(), widget);
        note(found, spin->suffix(), widget);
    }
    if (const auto *line = qobject_cast<const QLineEdit *>(widget))
        note(found, line->placeholderText(), widget);
    if (const auto *plain = qobject_cast<const QPlainTextEdit *>(widget))
        note(found, plain->placeholderText(), widget);
    if (const auto *rich = qobject_cast<const QTextEdit *>(widget))
        note(found, rich->placeholderText(), widget);
    if (const auto *menu = qobject_cast<const QMenu *>(widget))
        note(found, withoutMnemonics(menu->title()), widget);
}

// Every text the app's windows hold, shown or hidden, with the kind of
// control that holds it.
Found visibleTexts()
{
    Found found;
    for (const QWidget *window : QApplication::topLevelWidgets()) {
        note(found, window->windowTitle(), window);
        collectWidget(found, window);
        for (const QWidget *widget : window->findChildren<QWidget *>())
            collectWidget(found, widget);
    }
    return found;
}

// The app's windows over private settings, panels, clipboard and hot keys,
// with the English catalogue installed as the app installs it.
class VisibleTextsTest : public testing::Test {
protected:
    VisibleTextsTest()
    {
        qputenv("TMPDIR", QFile::encodeName(m_root.path()));
        translations.install(QLocale(QLocale::English));
        delegate = std::make_unique<CaptureAppDelegate>(CaptureAppDelegate::Platform{
            .defaults = defaults,
            .tavimoSignals = tavimoSignals,
            .bundle = BundleInfo({{"CFBundleShortVersionString", "9.8.7"}}),
            .updaterEnvironment = {},
            .panels = panels,
            .clipboard = clipboard,
            .hotKeys = hotKeys,
            .history = CaptureHistory(m_root.filePath("History")),
            .session = {[] { return true; }, [] { return Qt::KeyboardModifiers(); },
                        [](const QImage &) { return QString(); }, CaptureHistory::png},
            .chooseFolder = [](QWidget *, const QString &) { return std::nullopt; },
        });
        delegate->preferences().setFolder(saveFolder);
        delegate->applicationDidFinishLaunching();
    }
    ~VisibleTextsTest() override
    {
        delegate.reset();
        qunsetenv("TMPDIR");
    }

    static QImage image(QSize size = QSize(320, 200))
    {
        QImage picture(size, QImage::Format_ARGB32_Premultiplied);
        picture.fill(Qt::darkCyan);
        return picture;
    }

    // Texts of the windows now open that the catalogue does not hold, with
    // where they show; dynamic parts (keys, numbers, the save folder, the
    // report's technical details, font names) excluded.
    QStringList missingTexts() const
    {
        const Catalogue catalogue(catalogueSources());
        if (catalogue.isEmpty())
            return {QStringLiteral("the catalogue could not be read")};
        const QStringList dynamic{saveFolder, tavimoSignals.reviewedMetadata()};
        static const QStringList fontFamilies{QStringLiteral("Helvetica Neue"), QStringLiteral("Avenir Next"),
                                              QStringLiteral("Georgia"), QStringLiteral("Menlo"),
                                              QStringLiteral("Times New Roman")};
        const QString keySeparator = QStringLiteral("    ");
        QStringList missing;
        for (const auto &[text, where] : visibleTexts()) {
            const QString title = text.section(keySeparator, 0, 0);
            const bool titleWithKey = text.contains(keySeparator) && isKeyText(text.section(keySeparator, 1));
            if (catalogue.holds(text) || (titleWithKey && catalogue.holds(title)) || isKeyText(text) ||
                hasNoWords(text) || dynamic.contains(text) || fontFamilies.contains(text))
                continue;
            missing.append(QStringLiteral("%1 (%2)").arg(text, where));
        }
        return missing;
    }

    QTemporaryDir m_root;
    const QString saveFolder = QStringLiteral("/captures");
    UserDefaults defaults{m_root.filePath("defaults.json")};
    TavimoSignals tavimoSignals{BundleInfo(), defaults};
    ScriptedPanels panels;
    ScriptedClipboard clipboard;
    ScriptedHotKeys hotKeys;
    CaptureTranslations translations;
    std::unique_ptr<CaptureAppDelegate> delegate;
};

#define EXPECT_ALL_TRANSLATABLE() EXPECT_EQ(missingTexts(), QStringList())

} // namespace

TEST_F(VisibleTextsTest, WelcomeMenusAndTray)
{
    ASSERT_NE(delegate->menus()->trayMenu(), nullptr);
    EXPECT_ALL_TRANSLATABLE();
    if (delegate->trayIcon()) {
        const QString tip = delegate->trayIcon()->toolTip();
        EXPECT_TRUE(Catalogue(catalogueSources()).holds(tip)) << tip.toStdString();
    }
}

TEST_F(VisibleTextsTest, EditorWithADocumentAndTheInspectorOfEveryTool)
{
    delegate->model().accept(image());
    ASSERT_NE(delegate->model().document(), nullptr);
    for (const CaptureTool tool : RawEnum<CaptureTool>::cases) {
        delegate->model().document()->setTool(tool);
        QCoreApplication::processEvents();
        EXPECT_ALL_TRANSLATABLE() << rawValue(tool).toStdString();
    }
}

TEST_F(VisibleTextsTest, Board)
{
    auto board = std::make_unique<CaptureBoard>(std::make_shared<CaptureDocument>(image()));
    board->addImages({image(QSize(200, 300))});
    delegate->model().acceptBoard(std::move(board));
    delegate->model().setShowingBoard(true);
    QCoreApplication::processEvents();
    ASSERT_NE(delegate->editor()->findChild<CaptureBoardView *>(), nullptr);
    EXPECT_ALL_TRANSLATABLE();
}

TEST_F(VisibleTextsTest, SettingsFeedbackAndUpdates)
{
    delegate->showSettings();
    ASSERT_NE(delegate->settingsWindow(), nullptr);
    SupportWindow::show(tavimoSignals, false);
    EXPECT_ALL_TRANSLATABLE();

    SupportWindow::show(tavimoSignals, true);
    const QList<QAction *> tray = delegate->menus()->trayMenu()->actions();
    const auto updateSettings = std::find_if(tray.begin(), tray.end(), [](const QAction *action) {
        return action->text() == QStringLiteral("Update Settings…");
    });
    ASSERT_NE(updateSettings, tray.end());
    (*updateSettings)->trigger();
    UpdatePrompt::ask(AppcastItem{.title = "Next", .version = "2", .shortVersion = "1.0"}, [](UpdateChoice) {});
    EXPECT_ALL_TRANSLATABLE();
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMessageBox *>(window))
            delete window;
    }
}

TEST_F(VisibleTextsTest, ThumbnailToastAndPin)
{
    ASSERT_TRUE(delegate->thumbnail().show(image(), 5, CaptureThumbnailShortcut::optionE, QString(), [] {}));
    delegate->showToast(QStringLiteral("Image copied"));
    delegate->pin(image(), std::make_unique<CaptureBoard>(std::make_shared<CaptureDocument>(image())));
    ASSERT_EQ(delegate->pins().size(), 1);
    EXPECT_ALL_TRANSLATABLE();
}
