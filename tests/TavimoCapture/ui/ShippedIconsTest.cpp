#include "CaptureToolTable.h"
#include "ImageInk.h"

#include <QDirIterator>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSet>
#include <QSvgRenderer>

#include <gtest/gtest.h>

namespace {

QStringList warnings;

void collectWarning(QtMsgType, const QMessageLogContext &, const QString &message)
{
    warnings.append(message);
}

// Every ":/icons/NAME.svg" the app, the suite's chrome and the updater name in their sources.
QSet<QString> namedIcons()
{
    static const QRegularExpression named(QStringLiteral(R"re(":/icons/([^"%]+\.svg)")re"));
    QSet<QString> icons;
    for (const char *folder : {"TavimoCapture", "shared-ui", "distribution"}) {
        QDirIterator files(QStringLiteral(TAVIMO_SOURCE_DIR "/") + QLatin1String(folder), {"*.cpp", "*.h"}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile file(files.next());
            EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
            const QString text = QString::fromUtf8(file.readAll());
            for (const QRegularExpressionMatch &match : named.globalMatch(text))
                icons.insert(QStringLiteral(":/icons/") + match.captured(1));
        }
    }
    return icons;
}

} // namespace

TEST(ShippedIcons, EveryIconTheCodeNamesExistsAndRenders)
{
    QSet<QString> icons = namedIcons();
    EXPECT_TRUE(icons.contains(":/icons/hourglass.svg")) << "the busy icon of Extract text";
    EXPECT_TRUE(icons.contains(":/icons/bold.svg")) << "the text traits";
    for (const CaptureTool tool : allCases<CaptureTool>())
        icons.insert(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(CaptureToolTable::row(tool).symbol)));

    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collectWarning);
    for (const QString &icon : std::as_const(icons)) {
        SCOPED_TRACE(icon.toStdString());
        EXPECT_TRUE(QFile::exists(icon));
        QSvgRenderer renderer(icon);
        EXPECT_TRUE(renderer.isValid());
        QImage drawn(24, 24, QImage::Format_ARGB32_Premultiplied);
        drawn.fill(Qt::transparent);
        QPainter painter(&drawn);
        renderer.render(&painter);
        painter.end();
        EXPECT_TRUE(hasInk(drawn));
        EXPECT_TRUE(hasInk(QIcon(icon).pixmap(24, 24).toImage())) << "as buttons draw it";
    }
    qInstallMessageHandler(previous);
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
}
