#pragma once

#include "CaptureCommand.h"

#include <QCommandLineParser>
#include <QStringList>

// The options of tavimo-capture. Needs a QCoreApplication for the help text.
class CaptureCommandLine {
public:
    CaptureCommandLine();

    // `arguments` starts with the program name; relative files are taken
    // from `workingDirectory`. Throws CaptureUsageError.
    CaptureCommand parse(const QStringList &arguments, const QString &workingDirectory);
    QString helpText() const;

private:
    CaptureRequest request() const;
    std::optional<QString> output(const QString &workingDirectory) const;
    int delaySeconds() const;
    void checkCombination() const;

    QCommandLineParser m_parser;
    QCommandLineOption m_area{QStringLiteral("area"), QStringLiteral("Capture an area or a window.")};
    QCommandLineOption m_text{QStringLiteral("text"), QStringLiteral("Copy the text of an area.")};
    QCommandLineOption m_screen{QStringLiteral("screen"), QStringLiteral("Capture the main display.")};
    QCommandLineOption m_allDisplays{QStringLiteral("all-displays"), QStringLiteral("Capture all displays.")};
    QCommandLineOption m_editor{QStringLiteral("editor"), QStringLiteral("Show the editor.")};
    QCommandLineOption m_open{QStringLiteral("open"), QStringLiteral("Open an image in the editor."),
                              QStringLiteral("FILE")};
    QCommandLineOption m_delay{QStringLiteral("delay"), QStringLiteral("Wait before capturing."),
                               QStringLiteral("SECONDS")};
    QCommandLineOption m_output{QStringLiteral("output"),
                                QStringLiteral("Write the capture as PNG to FILE (- for standard output) instead of "
                                               "applying the after-capture settings."),
                                QStringLiteral("FILE")};
    QCommandLineOption m_overwrite{QStringLiteral("overwrite"), QStringLiteral("Let --output replace a file.")};
    QCommandLineOption m_help;
    QCommandLineOption m_version;
};
