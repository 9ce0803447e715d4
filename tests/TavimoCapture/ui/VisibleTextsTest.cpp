#include "app/AppDelegateFixture.h"

#include "AppUpdates.h"
#include "CaptureBoard.h"
#include "CaptureBoardView.h"
#include "CaptureDocument.h"
#include "CaptureInspector.h"
#include "CaptureMenus.h"
#include "CaptureTool.h"
#include "CaptureTranslations.h"
#include "SupportWindow.h"
#include "UpdatePrompt.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeySequence>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSystemTrayIcon>
#include <QTextDocumentFragment>
#include <QXmlStreamReader>

#include <functional>
#include <map>
#include <utility>

namespace {

// A title as the user reads it: "&&" shows as "&", a single "&" marks the mnemonic.
QString shown(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return Qt::mightBeRichText(text) ? QTextDocumentFragment::fromHtml(text).toPlainText() : text;
}

// Key names ("Ctrl+Shift+2"), numbers and sizes carry no words to translate.
bool needsNoTranslation(const QString &text)
{
    static const QRegularExpression words(QStringLiteral("[[:alpha:]]{2,}"));
    const QKeySequence keys = QKeySequence::fromString(text, QKeySequence::NativeText);
    return !text.contains(words) || (!keys.isEmpty() && keys.toString(QKeySequence::NativeText) == text);
}

// The source texts of the English catalogue, as written and as shown, each
// "%1" open to any value.
class Catalogue {
public:
    Catalogue()
    {
        QFile file(QStringLiteral(TAVIMO_SOURCE_DIR "/TavimoCapture/translations/tavimo_capture_en.ts"));
        if (!file.open(QIODevice::ReadOnly))
            return;
        for (QXmlStreamReader xml(&file); !xml.atEnd();) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("source")) {
                const QString source = xml.readElementText();
                add(source);
                add(shown(source));
            }
        }
    }

    bool isEmpty() const { return m_sources.empty(); }

    // A template without words of its own, such as "%1 (%2)", holds a text
    // only when each of its parts is a source text with words or has none.
    bool holds(const QString &text, bool wordlessTemplates = true) const
    {
        return std::any_of(m_sources.begin(), m_sources.end(), [&](const Source &source) {
            if (!source.hasWords && !wordlessTemplates)
                return false;
            const QRegularExpressionMatch match = source.pattern.match(text);
            const QStringList parts = match.capturedTexts().mid(1);
            return match.hasMatch() && (source.hasWords || std::all_of(parts.begin(), parts.end(), [this](auto &part) {
                                            return needsNoTranslation(part) || holds(part, false);
                                        }));
        });
    }

private:
    struct Source {
        QRegularExpression pattern;
        bool hasWords;
    };

    void add(const QString &source)
    {
        static const QRegularExpression placeholder(QStringLiteral("%[1-9]"));
        QStringList pieces = source.split(placeholder);
        for (QString &piece : pieces)
            piece = QRegularExpression::escape(piece);
        m_sources.push_back(
            {QRegularExpression(QRegularExpression::anchoredPattern(pieces.join(QStringLiteral("(.+)"))),
                                QRegularExpression::DotMatchesEverythingOption),
             !needsNoTranslation(QString(source).remove(placeholder))});
    }

    std::vector<Source> m_sources;
};

// Each text the windows hold, shown or not yet, with the class that holds it.
struct TextWalker {
    std::map<QString, QString> texts;

    void walkWindows()
    {
        for (const QWidget *window : QApplication::topLevelWidgets()) {
            walk(window);
            for (const QWidget *widget : window->findChildren<QWidget *>())
                walk(widget);
        }
    }

    void add(const QString &text, const QObject *holder)
    {
        if (!text.trimmed().isEmpty())
            texts.try_emplace(shown(text), QString::fromLatin1(holder->metaObject()->className()));
    }

    // Titles, labels, tooltips and placeholders of the widget and of its actions.
    void walk(const QWidget *widget)
    {
        QList<const QObject *> holders{widget};
        for (const QAction *action : widget->actions())
            holders.append(action);
        for (const QObject *holder : holders) {
            for (const char *property :
                 {"windowTitle", "text", "title", "toolTip", "accessibleName", "placeholderText"})
                add(holder->property(property).toString(), holder);
        }
        if (const auto *combo = qobject_cast<const QComboBox *>(widget)) {
            for (int index = 0; index < combo->count(); ++index) {
                add(combo->itemText(index), widget);
                add(combo->itemData(index, Qt::ToolTipRole).toString(), widget);
            }
        }
    }
};

// The running app with its English catalogue; each view opened in turn.
class VisibleTextsTest : public CaptureAppDelegateTest {
protected:
    VisibleTextsTest() { translations.install(QLocale(QLocale::English)); }
    ~VisibleTextsTest() override
    {
        delete SupportWindow::of(tavimoSignals);
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (qobject_cast<QMessageBox *>(window))
                delete window;
        }
    }

    // Texts of the open windows that are no source text of the catalogue,
    // one a line with the class showing it; the user's own values left out.
    std::string untranslatable()
    {
        QCoreApplication::processEvents();
        const Catalogue catalogue;
        if (catalogue.isEmpty())
            return "the catalogue could not be read";
        QStringList values = CaptureInspector::fontFamilies(QString());
        values.removeOne(CaptureStyle::systemFontName);
        values << delegate->preferences().folder() << tavimoSignals.reviewedMetadata();
        TextWalker walker;
        walker.walkWindows();
        if (const QSystemTrayIcon *tray = delegate->trayIcon())
            walker.add(tray->toolTip(), tray);
        QStringList missing;
        for (const auto &[text, holder] : walker.texts) {
            const QString title = text.section(QStringLiteral("    "), 0, 0);
            if (!catalogue.holds(text) && !catalogue.holds(title) && !needsNoTranslation(text) &&
                !values.contains(text))
                missing.append(text + QStringLiteral(" (") + holder + QLatin1Char(')'));
        }
        return missing.join(QLatin1Char('\n')).toStdString();
    }

    CaptureTranslations translations;
};

} // namespace

TEST_F(VisibleTextsTest, EveryViewShowsOnlyCatalogueTexts)
{
    const QImage image = filled(QSize(320, 200));
    // Each view the app can show, opened over those before it.
    const std::pair<const char *, std::function<void()>> views[] = {
        {"welcome, menus and tray",
         [] {
         }},
        {"editor with a document",
         [&] {
             delegate->model().accept(image);
         }},
        {"board",
         [&] {
             auto board = std::make_unique<CaptureBoard>(std::make_shared<CaptureDocument>(image));
             board->addImages({filled(QSize(200, 300))});
             delegate->model().acceptBoard(std::move(board));
             delegate->model().setShowingBoard(true);
         }},
        {"settings",
         [&] {
             delegate->showSettings();
         }},
        {"feedback",
         [&] {
             SupportWindow::show(tavimoSignals, false);
         }},
        {"bug report",
         [&] {
             SupportWindow::show(tavimoSignals, true);
         }},
        {"update settings",
         [&] {
             const QList<QAction *> tray = delegate->menus()->trayMenu()->actions();
             const auto item = std::find_if(tray.begin(), tray.end(), [](const QAction *action) {
                 return action->text() == AppUpdates::tr("Update Settings…");
             });
             ASSERT_NE(item, tray.end());
             (*item)->trigger();
         }},
        {"update prompt",
         [] {
             UpdatePrompt::ask(AppcastItem{}, [](UpdateChoice) {});
         }},
        {"thumbnail, toast and pin",
         [&] {
             delegate->thumbnail().show(image, 5, CaptureThumbnailShortcut::optionE, QString(), [] {});
             delegate->showToast(QCoreApplication::translate("CaptureDelivery", "Copied"));
             delegate->pin(image, std::make_unique<CaptureBoard>(std::make_shared<CaptureDocument>(image)));
         }},
    };
    for (const auto &[name, open] : views) {
        open();
        EXPECT_EQ(untranslatable(), "") << name;
    }
    EXPECT_EQ(delegate->pins().size(), 1);
    EXPECT_NE(delegate->editor()->findChild<CaptureBoardView *>(), nullptr);
}

TEST_F(VisibleTextsTest, TheInspectorOfEveryTool)
{
    delegate->model().accept(filled(QSize(320, 200)));
    ASSERT_NE(delegate->model().document(), nullptr);
    for (const CaptureTool tool : RawEnum<CaptureTool>::cases) {
        delegate->model().document()->setTool(tool);
        EXPECT_EQ(untranslatable(), "") << rawValue(tool).toStdString();
    }
}
