#include "CaptureBoard.h"
#include "CaptureBoardCanvas.h"
#include "CaptureBoardExportPreview.h"
#include "CaptureBoardPreviews.h"
#include "CaptureBoardView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImageReader>
#include <QLinearGradient>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QImage capture(int seed)
{
    QImage image(2880, 1800, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 2880, 1800);
    gradient.setColorAt(0, QColor::fromHsv(seed * 70 % 360, 160, 220));
    gradient.setColorAt(1, QColor::fromHsv((seed * 70 + 120) % 360, 200, 120));
    painter.fillRect(image.rect(), gradient);
    painter.fillRect(400, 300, 1200, 700, Qt::white);
    return image;
}

// Ticks of an idle timer: each gap is how long the event loop could not run.
class StallMeter : public QObject {
public:
    StallMeter()
    {
        m_timer.setInterval(0);
        connect(&m_timer, &QTimer::timeout, this, [this] { m_gaps.push_back(m_clock.restart()); });
    }
    void start()
    {
        m_gaps.clear();
        m_clock.start();
        m_timer.start();
    }
    void stop() { m_timer.stop(); }
    qint64 longest() const { return m_gaps.empty() ? 0 : *std::max_element(m_gaps.begin(), m_gaps.end()); }
    qint64 percentile95() const
    {
        std::vector<qint64> sorted = m_gaps;
        std::sort(sorted.begin(), sorted.end());
        return sorted.empty() ? 0 : sorted[sorted.size() * 95 / 100];
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    std::vector<qint64> m_gaps;
};

bool waitFor(const std::function<bool()> &done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

void report(const char *what, const StallMeter &meter, qint64 elapsed, int rounds)
{
    std::printf("%-40s rounds %d  wall %5lld ms  longest stall %4lld ms  p95 gap %3lld ms\n", what, rounds,
                static_cast<long long>(elapsed), static_cast<long long>(meter.longest()),
                static_cast<long long>(meter.percentile95()));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QImageReader::setAllocationLimit(1024);
    CaptureBoard board(std::make_shared<CaptureDocument>(capture(0)));
    board.addImages({capture(1), capture(2), capture(3)});
    CaptureBoardView view(board, [] {});
    view.resize(1060, 760);
    view.show();
    auto *previews = view.findChild<CaptureBoardPreviews *>();
    auto *exportPreview = view.findChild<CaptureBoardExportPreview *>();
    const CaptureBoardLayout layouts[] = {CaptureBoardLayout::row, CaptureBoardLayout::column,
                                          CaptureBoardLayout::grid};
    constexpr int rounds = 6;
    StallMeter meter;

    // Previews of the four images after each arrangement change.
    waitFor([&] { return !previews->previews().isEmpty() && !previews->isRefreshing(); });
    QElapsedTimer clock;
    meter.start();
    clock.start();
    for (int round = 0; round < rounds; ++round) {
        board.applyLayout(layouts[round % 3]);
        waitFor([&] { return previews->isRefreshing(); });
        waitFor([&] { return !previews->isRefreshing(); });
    }
    meter.stop();
    report("item previews, 4 x 2880 x 1800", meter, clock.elapsed(), rounds);

    // The same with the finished export rendered too.
    view.setShowExportPreview(true);
    waitFor([&] { return !exportPreview->image().isNull() && !previews->isRefreshing(); });
    meter.start();
    clock.restart();
    for (int round = 0; round < rounds; ++round) {
        const qint64 shown = exportPreview->image().cacheKey();
        board.applyLayout(layouts[round % 3]);
        waitFor([&] { return exportPreview->image().cacheKey() != shown && !previews->isRefreshing(); });
    }
    meter.stop();
    report("item and export previews", meter, clock.elapsed(), rounds);
    return 0;
}
