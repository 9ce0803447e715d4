#include "UpdatePrompt.h"

#include "BundleInfo.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

QString offerText(const AppcastItem &item)
{
    const BundleInfo &bundle = BundleInfo::main();
    const QString offered = item.shortVersion.isEmpty() ? item.version : item.shortVersion;
    return QCoreApplication::translate(
               "UpdatePrompt", "%1 %2 is available; you have %3. The update installs once no capture is open, and the "
                               "app restarts.")
        .arg(bundle.value(QStringLiteral("CFBundleDisplayName")), offered,
             bundle.value(QStringLiteral("CFBundleShortVersionString")));
}

} // namespace

namespace UpdatePrompt {

void ask(const AppcastItem &item, UpdaterEnvironment::Answer answer)
{
    auto *box =
        new QMessageBox(QMessageBox::Information, QCoreApplication::translate("UpdatePrompt", "Software Update"),
                        QCoreApplication::translate("UpdatePrompt", "A new version of %1 is available.")
                            .arg(BundleInfo::main().value(QStringLiteral("CFBundleDisplayName"))));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setInformativeText(offerText(item));
    QPushButton *install =
        box->addButton(QCoreApplication::translate("UpdatePrompt", "Install Update"), QMessageBox::AcceptRole);
    QPushButton *later =
        box->addButton(QCoreApplication::translate("UpdatePrompt", "Remind Me Later"), QMessageBox::RejectRole);
    QPushButton *skip =
        box->addButton(QCoreApplication::translate("UpdatePrompt", "Skip This Version"), QMessageBox::DestructiveRole);
    box->setDefaultButton(install);
    box->setEscapeButton(later);
    QObject::connect(box, &QMessageBox::finished, box, [box, install, skip, answer] {
        const QAbstractButton *clicked = box->clickedButton();
        answer(clicked == install ? UpdateChoice::install
               : clicked == skip  ? UpdateChoice::skipVersion
                                  : UpdateChoice::remindLater);
    });
    box->open();
}

UpdaterEnvironment standardEnvironment()
{
    UpdaterEnvironment environment = UpdaterEnvironment::standard();
    environment.prompt = ask;
    return environment;
}

} // namespace UpdatePrompt
