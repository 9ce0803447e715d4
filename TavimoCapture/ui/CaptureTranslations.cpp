#include "CaptureTranslations.h"

#include "UiLog.h"

#include <QCoreApplication>

namespace {

const QString catalogueFolder = QStringLiteral(":/i18n");
const QString catalogueName = QStringLiteral("tavimo_capture");
const QString sourceCatalogue = QStringLiteral("tavimo_capture_en");

} // namespace

CaptureTranslations::~CaptureTranslations()
{
    if (m_installed)
        QCoreApplication::removeTranslator(&m_translator);
}

bool CaptureTranslations::install(const QLocale &locale)
{
    if (!m_translator.load(locale, catalogueName, QStringLiteral("_"), catalogueFolder) &&
        !m_translator.load(sourceCatalogue, catalogueFolder)) {
        qCWarning(uiLog) << "No text catalogue found in" << catalogueFolder;
        return false;
    }
    m_installed = QCoreApplication::installTranslator(&m_translator);
    return m_installed;
}
