#pragma once

#include <QLocale>
#include <QTranslator>

// The app's text catalogue: the one for the user's language when there is
// one, else the English source catalogue. Installed into the running
// application for as long as this object lives.
class CaptureTranslations {
public:
    CaptureTranslations() = default;
    ~CaptureTranslations();
    CaptureTranslations(const CaptureTranslations &) = delete;
    CaptureTranslations &operator=(const CaptureTranslations &) = delete;

    // False when no catalogue could be loaded; the English texts show then.
    bool install(const QLocale &locale = QLocale());
    // The loaded catalogue's language, such as "en"; empty before install().
    QString language() const { return m_translator.language(); }

private:
    QTranslator m_translator;
    bool m_installed = false;
};
