// Crash-consistency trials: a writer performs one kind of write in a loop and
// is killed with SIGKILL at a random moment; then every file under a final
// name must be complete and valid (old or new content, never a mix), and the
// next start must sweep away every temporary file of ours and nothing else.
//
//   crash_trials drive KIND KILLS [SEED]   runs KILLS trials, exit status 0 when all are clean
//   crash_trials write KIND FOLDER         the writer (started by drive)
// KIND: settings, history, autosave, export, install.
#include "CaptureAutoSave.h"
#include "CaptureFileWriter.h"
#include "CaptureHistory.h"
#include "CaptureWorkspace.h"
#include "ScriptedClipboard.h"
#include "ScriptedPanels.h"
#include "UpdateInstaller.h"
#include "UserDefaults.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <spng.h>

#include <csignal>
#include <cstdio>
#include <iostream>
#include <memory>
#include <optional>

namespace {

const QStringList kinds{"settings", "history", "autosave", "export", "install"};
const QString decoys[] = {".decoy", ".notes.txt.k3x9q", "notes.txt", ".History.abc"};

// Folders and files of one trial run, all under one private folder.
struct Layout {
    QString root;
    QString settings() const { return root + "/config/defaults.json"; }
    QString history() const { return root + "/History"; }
    QString captures() const { return root + "/Capture"; }
    QString exported() const { return root + "/export.png"; }
    QString installed() const { return root + "/app/tavimo-capture"; }
    QString archive(int which) const { return root + "/archive-" + QString::number(which); }
};

// Image n: its number in the first pixel, a pattern of it everywhere else.
QRgb patternPixel(quint32 n, int x, int y)
{
    if (x == 0 && y == 0)
        return qRgba(n & 255, (n >> 8) & 255, (n >> 16) & 255, 255);
    return qRgba((x * 31 + n * 7) & 255, (y * 17 + n * 3) & 255, (x ^ y ^ n) & 255, 255);
}

QImage imageFor(quint32 n)
{
    QImage image(256, 192, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, patternPixel(n, x, y));
    return image;
}

QString payloadFor(quint32 n)
{
    return QString::number(n) + ':' + QString(100000, QChar('a' + n % 26));
}

// An ELF-looking program of its own size, filled with its number.
QByteArray archiveBytes(int which)
{
    return QByteArray("\x7f"
                      "ELF") +
           QByteArray(300000 + which * 70000, char('0' + which));
}

struct SpngFree {
    void operator()(spng_ctx *context) const { spng_ctx_free(context); }
};

// A complete PNG: every chunk checksum right, every row there, the pixels
// exactly one image of the pattern.
QString pngProblem(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "unreadable";
    const QByteArray bytes = file.readAll();
    const std::unique_ptr<spng_ctx, SpngFree> context(spng_ctx_new(0));
    spng_set_crc_action(context.get(), SPNG_CRC_ERROR, SPNG_CRC_ERROR);
    spng_set_png_buffer(context.get(), bytes.constData(), size_t(bytes.size()));
    spng_ihdr header{};
    size_t size = 0;
    if (spng_get_ihdr(context.get(), &header) != 0 || header.width != 256 || header.height != 192 ||
        spng_decoded_image_size(context.get(), SPNG_FMT_RGBA8, &size) != 0)
        return "bad header";
    std::vector<quint8> rgba(size);
    if (const int error = spng_decode_image(context.get(), rgba.data(), size, SPNG_FMT_RGBA8, 0))
        return QString("does not decode: ") + spng_strerror(error);
    const quint32 n = rgba[0] | (rgba[1] << 8) | (rgba[2] << 16);
    for (int y = 0; y < 192; ++y) {
        for (int x = 0; x < 256; ++x) {
            const quint8 *pixel = &rgba[(size_t(y) * 256 + x) * 4];
            if (qRgba(pixel[0], pixel[1], pixel[2], pixel[3]) != patternPixel(n, x, y))
                return QString("mixed pixels at %1,%2").arg(x).arg(y);
        }
    }
    if (spng_decode_chunks(context.get()) != 0)
        return "bad chunks after the image";
    return {};
}

QStringList hiddenFiles(const QString &folder)
{
    QStringList hidden;
    QDirIterator files(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        if (files.fileName().startsWith('.') &&
            !QStringList(std::begin(decoys), std::end(decoys)).contains(files.fileName()))
            hidden.append(path);
    }
    return hidden;
}

// --- the writer ---------------------------------------------------------

void sweep(const QString &kind, const Layout &layout)
{
    if (kind == "settings")
        UserDefaults probe(layout.settings());
    else if (kind == "history")
        CaptureHistory(layout.history()).removeLeftovers();
    else if (kind == "autosave")
        CaptureAutoSave::removeLeftovers(layout.captures(), QDateTime::currentDateTime());
    else if (kind == "install")
        UpdateInstaller::removeLeftovers(layout.installed());
    else if (kind == "export") // swept by the next export to the same file
        CaptureFileWriter::exportFile(layout.exported(), CaptureHistory::png(imageFor(1)));
}

// What the app makes at start, each sweeping its own folder.
struct Writers {
    explicit Writers(const Layout &layout)
        : workspaceDefaults(layout.root + "/workspace-defaults.json"),
          workspace(
              workspaceDefaults, panels, clipboard, [](TavimoEvent) {},
              CaptureHistory(layout.root + "/workspace-history")),
          settings(layout.settings()), history(layout.history(), 5)
    {
        workspaceDefaults.setValue(CaptureWorkspace::keepHistoryKey, false);
        workspaceDefaults.flush();
    }

    ScriptedPanels panels;
    ScriptedClipboard clipboard;
    UserDefaults workspaceDefaults;
    CaptureWorkspace workspace;
    UserDefaults settings;
    const CaptureHistory history;
};

[[noreturn]] void writeForever(const QString &kind, const Layout &layout, Writers &writers)
{
    UserDefaults &settings = writers.settings;
    const CaptureHistory &history = writers.history;
    CaptureWorkspace &workspace = writers.workspace;
    QString entry;
    for (quint32 n = QRandomGenerator::global()->bounded(1u << 20);; ++n) {
        if (kind == "settings") {
            settings.setValue("trial.payload", payloadFor(n));
            settings.flush();
        } else if (kind == "history") {
            entry = history.save(imageFor(n), n % 3 == 0 ? QString() : entry, layout.exported());
        } else if (kind == "autosave") {
            CaptureAutoSave::save(CaptureHistory::png(imageFor(n)), layout.captures(), "Area",
                                  QDateTime::currentDateTime());
        } else if (kind == "export") {
            workspace.accept(imageFor(n), QString(), layout.exported());
            workspace.saveImage(false);
        } else if (kind == "install") {
            UpdateInstaller::replace(layout.installed(), layout.archive(int(n % 2)));
        }
    }
}

int write(const QString &kind, const QString &root)
{
    const Layout layout{root};
    Writers writers(layout);
    sweep(kind, layout);
    std::cout << "swept" << std::endl;
    std::string go;
    std::getline(std::cin, go);
    writeForever(kind, layout, writers);
}

// --- the driver ---------------------------------------------------------

void prepare(const QString &kind, const Layout &layout)
{
    for (const QString &folder : {layout.root + "/config", layout.history(), layout.captures(), layout.root + "/app"})
        QDir().mkpath(folder);
    for (const QString &folder : {layout.root + "/config", layout.history(), layout.root, layout.root + "/app"}) {
        for (const QString &decoy : decoys) {
            QFile file(folder + '/' + decoy);
            file.open(QIODevice::WriteOnly);
            file.write("not ours");
        }
    }
    CaptureHistory::png(imageFor(0));
    QFile exported(layout.exported());
    exported.open(QIODevice::WriteOnly);
    exported.write(CaptureHistory::png(imageFor(0)));
    for (int which : {0, 1}) {
        QFile archive(layout.archive(which));
        archive.open(QIODevice::WriteOnly);
        archive.write(archiveBytes(which));
    }
    QFile::copy(layout.archive(0), layout.installed());
    QFile(layout.installed())
        .setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                        QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                        QFileDevice::ExeOther);
    Q_UNUSED(kind);
}

QStringList finalNameProblems(const QString &kind, const Layout &layout)
{
    QStringList problems;
    const auto check = [&](const QString &path, const QString &problem) {
        if (!problem.isEmpty())
            problems.append(path + ": " + problem);
    };
    if (kind == "settings") {
        QFile file(layout.settings());
        if (QFile::exists(layout.settings() + ".corrupt"))
            problems.append("the settings were found corrupt and moved aside");
        if (file.open(QIODevice::ReadOnly)) {
            const QJsonObject object = QJsonDocument::fromJson(file.readAll()).object();
            const QString payload = object.value("trial.payload").toString();
            const quint32 n = payload.section(':', 0, 0).toUInt();
            check(layout.settings(), payload == payloadFor(n) ? QString() : "not one whole version");
        }
    } else if (kind == "history" || kind == "autosave") {
        const QString folder = kind == "history" ? layout.history() : layout.captures();
        QDirIterator files(folder, {"*.png"}, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            check(path, pngProblem(path));
        }
        QDirIterator sidecars(layout.history(), {"*.json"}, QDir::Files);
        while (kind == "history" && sidecars.hasNext()) {
            QFile sidecar(sidecars.next());
            sidecar.open(QIODevice::ReadOnly);
            const QJsonDocument link = QJsonDocument::fromJson(QByteArray("[") + sidecar.readAll() + "]");
            check(sidecar.fileName(), link.array().first().toString() == layout.exported() ? QString() : "bad link");
        }
    } else if (kind == "export") {
        check(layout.exported(), pngProblem(layout.exported()));
    } else if (kind == "install") {
        QFile installed(layout.installed());
        const QByteArray bytes = installed.open(QIODevice::ReadOnly) ? installed.readAll() : QByteArray();
        check(layout.installed(), bytes == archiveBytes(0) || bytes == archiveBytes(1) ? QString() : "not one archive");
        check(layout.installed(), installed.permissions().testFlag(QFileDevice::ExeOther) ? QString() : "mode lost");
    }
    return problems;
}

// Checked captures go, so that the folder and the checks stay small; hidden
// files stay for the next start's sweep.
void removeCheckedCaptures(const Layout &layout)
{
    QDirIterator files(layout.captures(), {"*.png"}, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext())
        QFile::remove(files.next());
}

QStringList sweepProblems(const Layout &layout)
{
    QStringList problems;
    for (const QString &path : hiddenFiles(layout.root))
        problems.append(path + ": left behind after the next start");
    for (const QString &folder : {layout.root + "/config", layout.history(), layout.root, layout.root + "/app"}) {
        for (const QString &decoy : decoys) {
            if (!QFile::exists(folder + '/' + decoy))
                problems.append(folder + '/' + decoy + ": not ours, but removed");
        }
    }
    QDirIterator sidecars(layout.history(), {"*.json"}, QDir::Files);
    while (sidecars.hasNext()) {
        const QString sidecar = sidecars.next();
        if (!QFile::exists(sidecar.chopped(5) + ".png"))
            problems.append(sidecar + ": a link without its entry after the next start");
    }
    QDirIterator visible(layout.root, QDir::Files, QDirIterator::Subdirectories);
    while (visible.hasNext()) {
        const QString path = visible.next();
        if (QFileInfo(path).fileName().contains(QRegularExpression("\\.png\\..|\\.json\\..")))
            problems.append(path + ": a temporary file in plain sight");
    }
    return problems;
}

// Starts the writer, which sweeps first; true when it is ready to write.
bool startWriter(QProcess &writer, const QString &kind, const Layout &layout)
{
    writer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    writer.start(QCoreApplication::applicationFilePath(), {"write", kind, layout.root});
    return writer.waitForStarted() && writer.waitForReadyRead(60000) && writer.readLine().trimmed() == "swept";
}

int drive(const QString &kind, int kills, quint32 seed)
{
    if (!kinds.contains(kind))
        return 2;
    QTemporaryDir root;
    const Layout layout{root.path()};
    prepare(kind, layout);
    QRandomGenerator random(seed);
    int bad = 0;
    for (int trial = 0; trial <= kills; ++trial) {
        QProcess writer;
        if (!startWriter(writer, kind, layout)) {
            std::cerr << "the writer did not start" << std::endl;
            return 2;
        }
        QStringList problems = sweepProblems(layout);
        if (trial == kills) {
            bad += problems.isEmpty() ? 0 : 1;
            for (const QString &problem : problems)
                std::cerr << kind.toStdString() << " after the last kill: " << problem.toStdString() << std::endl;
            writer.kill();
            writer.waitForFinished();
            break;
        }
        writer.write("go\n");
        writer.waitForBytesWritten();
        // Mostly within the first writes, sometimes deep into the loop.
        const int microseconds = int(random.bounded(trial % 10 == 0 ? 300000 : 40000));
        QThread::usleep(ulong(microseconds));
        ::kill(pid_t(writer.processId()), SIGKILL);
        writer.waitForFinished();
        problems += finalNameProblems(kind, layout);
        if (kind == "autosave")
            removeCheckedCaptures(layout);
        if (!problems.isEmpty()) {
            ++bad;
            for (const QString &problem : problems)
                std::cerr << kind.toStdString() << " kill " << trial + 1 << ": " << problem.toStdString() << std::endl;
        }
    }
    std::cout << kind.toStdString() << ": " << kills << " kills, " << bad << " bad outcomes (seed " << seed << ")"
              << std::endl;
    return bad == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() >= 4 && arguments.at(1) == "write")
        return write(arguments.at(2), arguments.at(3));
    if (arguments.size() >= 4 && arguments.at(1) == "drive") {
        const quint32 seed = arguments.size() >= 5 ? arguments.at(4).toUInt() : QRandomGenerator::system()->generate();
        return drive(arguments.at(2), arguments.at(3).toInt(), seed);
    }
    std::cerr << "usage: crash_trials drive KIND KILLS [SEED] | write KIND FOLDER" << std::endl;
    return 2;
}
