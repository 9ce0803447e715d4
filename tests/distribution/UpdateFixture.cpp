#include "UpdateFixture.h"

#include "BuildVersion.h"

#include <QDir>
#include <QFile>

UpdateFixture::UpdateFixture() : m_previousTemporaryFolder(qgetenv("TMPDIR"))
{
    QDir(root.path()).mkpath(QStringLiteral("app"));
    QDir(root.path()).mkpath(QStringLiteral("tmp"));
    qputenv("TMPDIR", QFile::encodeName(root.filePath(QStringLiteral("tmp"))));
    installedPath = root.filePath(QStringLiteral("app/tavimo-capture"));
    QFile installed(installedPath);
    installed.open(QIODevice::WriteOnly);
    installed.write(program(QStringLiteral("installed")));
    installed.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                             QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    defaults = std::make_unique<UserDefaults>(root.filePath(QStringLiteral("defaults.json")));
}

UpdateFixture::~UpdateFixture()
{
    qputenv("TMPDIR", m_previousTemporaryFolder);
}

QByteArray UpdateFixture::program(const QString &label)
{
    return QByteArrayLiteral("\x7f"
                             "ELF ") +
           label.toUtf8() + QByteArray(4096, 'x');
}

UpdateFixture::Release UpdateFixture::release(const QString &version)
{
    return Release{version, program(QStringLiteral("build ") + version), std::nullopt, -1, QString()};
}

std::optional<UpdaterError> UpdateFixture::failureOf(const std::function<void()> &job)
{
    try {
        job();
        return std::nullopt;
    } catch (const UpdaterFailure &failure) {
        return failure.code();
    }
}

void UpdateFixture::publish(const QList<Release> &releases)
{
    QByteArray feed = "<?xml version=\"1.0\"?>\n<rss version=\"2.0\" xmlns:tavimo=\"urn:tavimo:appcast\"><channel>"
                      "<title>Tavimo Capture</title>";
    for (const Release &release : releases) {
        const QString path = QStringLiteral("/archive-%1").arg(release.version);
        server.serve(path, {200, release.archive, {}, -1});
        const QString url = release.url.isEmpty() ? server.url(path).toString() : release.url;
        const QByteArray signature = release.signature.value_or(key.sign(release.archive));
        const qint64 length = release.length < 0 ? release.archive.size() : release.length;
        feed += "<item><title>Version " + release.version.toUtf8() + "</title><tavimo:version>" +
                release.version.toUtf8() + "</tavimo:version><tavimo:shortVersionString>0." + release.version.toUtf8() +
                "</tavimo:shortVersionString><enclosure url=\"" + url.toUtf8() + "\" length=\"" +
                QByteArray::number(length) + "\" type=\"application/octet-stream\"" +
                (signature.isEmpty() ? QByteArray() : " tavimo:edSignature=\"" + signature + "\"") + "/></item>";
    }
    feed += "</channel></rss>";
    server.serve(QStringLiteral("/appcast.xml"), {200, feed, {}, -1});
}

UpdaterConfiguration UpdateFixture::configuration() const
{
    return UpdaterConfiguration{server.url(QStringLiteral("/appcast.xml")),
                                QByteArray::fromBase64(key.publicKeyBase64()),
                                BuildVersion::parse(runningBuild).value()};
}

UpdaterEnvironment UpdateFixture::environment()
{
    UpdaterEnvironment environment;
    environment.defaults = defaults.get();
    environment.installedPath = installedPath;
    environment.relaunch = [this](const QString &path) {
        relaunches.append(path);
    };
    environment.sslConfiguration = tls;
    environment.prompt = [this](const AppcastItem &item, UpdaterEnvironment::Answer answer) {
        prompted.append(item);
        if (choice)
            answer(*choice);
    };
    return environment;
}

QByteArray UpdateFixture::installedContents() const
{
    QFile installed(installedPath);
    installed.open(QIODevice::ReadOnly);
    return installed.readAll();
}

QStringList UpdateFixture::leftoverFiles() const
{
    const QDir::Filters filters = QDir::Files | QDir::Hidden | QDir::System;
    return QDir(root.filePath(QStringLiteral("tmp"))).entryList(filters) +
           QDir(root.filePath(QStringLiteral("app"))).entryList(filters);
}
