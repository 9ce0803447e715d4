// How often the settings file is written while the user drags a style slider.
//   QT_QPA_PLATFORM=offscreen build/bench/settings/settings_write_benchmark
// The "file_writes" counter is the number of times a new settings file was
// put in place during 100 style changes in a row, counted by inotify.

#include "CaptureDocument.h"
#include "UserDefaults.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/inotify.h>
#include <unistd.h>

#include <cstring>

namespace {

constexpr int styleChanges = 100;

// Counts files created under, or renamed to, one name in a folder.
class PublishedFiles {
public:
    PublishedFiles(const QString &folder, QString name) : m_name(QFile::encodeName(name))
    {
        m_descriptor = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        inotify_add_watch(m_descriptor, QFile::encodeName(folder).constData(), IN_MOVED_TO | IN_CLOSE_WRITE);
    }
    ~PublishedFiles() { ::close(m_descriptor); }
    PublishedFiles(const PublishedFiles &) = delete;
    PublishedFiles &operator=(const PublishedFiles &) = delete;

    int count()
    {
        alignas(inotify_event) char buffer[64 * 1024];
        int published = 0;
        for (ssize_t size; (size = ::read(m_descriptor, buffer, sizeof buffer)) > 0;) {
            for (char *next = buffer; next < buffer + size;) {
                const auto *event = reinterpret_cast<const inotify_event *>(next);
                if (event->len > 0 && m_name == event->name)
                    ++published;
                next += sizeof(inotify_event) + event->len;
            }
        }
        return published;
    }

private:
    int m_descriptor = -1;
    QByteArray m_name;
};

// 100 line widths in a row, as a slider sends them, each through the
// document's style setter and its stored defaults; then the store is closed.
void styleChangesInARow(benchmark::State &state)
{
    int writes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("defaults.json"));
        PublishedFiles published(folder.path(), QStringLiteral("defaults.json"));
        auto defaults = std::make_unique<UserDefaults>(path);
        CaptureDocument document(QImage(64, 64, QImage::Format_ARGB32_Premultiplied), defaults.get());
        published.count();
        state.ResumeTiming();
        for (int change = 1; change <= styleChanges; ++change) {
            CaptureStyle style = document.style();
            style.lineWidth = change % 80 + 1;
            document.setStyle(style);
            QCoreApplication::processEvents();
        }
        defaults.reset();
        state.PauseTiming();
        writes = published.count();
        state.ResumeTiming();
    }
    state.counters["file_writes"] = writes;
}

} // namespace

BENCHMARK(styleChangesInARow)->Unit(benchmark::kMillisecond);
