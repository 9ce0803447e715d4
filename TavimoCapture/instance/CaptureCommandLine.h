#pragma once

#include "CaptureCommand.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

// The options of tavimo-capture. Needs a QCoreApplication for the help text.
class CaptureCommandLine {
    Q_DECLARE_TR_FUNCTIONS(CaptureCommandLine)

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
    QCommandLineOption m_area{QStringLiteral("area"), tr("Capture an area or a window.")};
    QCommandLineOption m_text{QStringLiteral("text"), tr("Copy the text of an area.")};
    QCommandLineOption m_screen{QStringLiteral("screen"), tr("Capture the main display.")};
    QCommandLineOption m_allDisplays{QStringLiteral("all-displays"), tr("Capture all displays.")};
    QCommandLineOption m_editor{QStringLiteral("editor"), tr("Show the editor.")};
    QCommandLineOption m_open{QStringLiteral("open"), tr("Open an image in the editor."), tr("FILE")};
    QCommandLineOption m_delay{QStringLiteral("delay"), tr("Wait before capturing."), tr("SECONDS")};
    QCommandLineOption m_output{QStringLiteral("output"),
                                tr("Write the capture as PNG to FILE (- for standard output) instead of "
                                   "applying the after-capture settings."),
                                tr("FILE")};
    QCommandLineOption m_overwrite{QStringLiteral("overwrite"), tr("Let --output replace a file.")};
    QCommandLineOption m_help;
    QCommandLineOption m_version;
};
