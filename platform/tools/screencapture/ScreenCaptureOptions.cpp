#include "ScreenCaptureOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {

const QCommandLineOption silentOption(QStringLiteral("x"), QStringLiteral("Play no sound (there is none)."));
const QCommandLineOption typeOption(QStringLiteral("t"), QStringLiteral("Image format; only png."),
                                    QStringLiteral("format"), QStringLiteral("png"));
const QCommandLineOption interactiveOption(QStringLiteral("i"), QStringLiteral("Let the user choose the area."));
const QCommandLineOption noShadowOption(QStringLiteral("o"), QStringLiteral("Take windows without shadow."));
const QCommandLineOption selectionOption(QStringLiteral("s"), QStringLiteral("Area only, no window picking."));
const QCommandLineOption mainDisplayOption(QStringLiteral("m"), QStringLiteral("Capture the main display."));

} // namespace

std::optional<ScreenCaptureOptions> ScreenCaptureOptions::parse(const QStringList &arguments, QString *error)
{
    QCommandLineParser parser;
    parser.addOptions(
        {silentOption, typeOption, interactiveOption, noShadowOption, selectionOption, mainDisplayOption});
    if (!parser.parse(arguments)) {
        *error = parser.errorText();
        return std::nullopt;
    }
    if (parser.value(typeOption).compare(QStringLiteral("png"), Qt::CaseInsensitive) != 0) {
        *error = QCoreApplication::translate("ScreenCaptureOptions", "Unsupported image format: %1")
                     .arg(parser.value(typeOption));
        return std::nullopt;
    }
    if (parser.isSet(interactiveOption) && parser.isSet(mainDisplayOption)) {
        *error = QCoreApplication::translate("ScreenCaptureOptions", "-i and -m cannot be combined.");
        return std::nullopt;
    }
    if (parser.positionalArguments().size() != 1) {
        *error = QCoreApplication::translate("ScreenCaptureOptions", "Give exactly one output file.");
        return std::nullopt;
    }
    ScreenCaptureOptions options;
    options.interactive = parser.isSet(interactiveOption);
    options.selectionOnly = parser.isSet(selectionOption);
    options.outputPath = parser.positionalArguments().first();
    return options;
}

QString ScreenCaptureOptions::usage()
{
    return QCoreApplication::translate("ScreenCaptureOptions",
                                       "Usage: tavimo-screencapture [-x] [-t png] [-i [-o] [-s] | -m] file.png\n"
                                       "Without -i the main display is captured.");
}
