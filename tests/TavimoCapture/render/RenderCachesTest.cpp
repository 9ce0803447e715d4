#include "CaptureEffectCache.h"
#include "CaptureLayoutCache.h"
#include "RenderTestMarks.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct LayoutInputs {
    QRectF crop{0, 0, 800, 600};
    QList<CaptureAnnotation> marks;
    CaptureComposition composition;
    QList<CaptureLegendEntry> legend{{QUuid::createUuid(), 1, QStringLiteral("Open the menu")}};
};

const CaptureCompositionLayout &laidOut(CaptureLayoutCache &cache, const LayoutInputs &in)
{
    return cache.layout(in.crop, in.marks, in.composition, in.legend);
}

CaptureEffectCache::Key effectKey(QRect target)
{
    return {1, QSizeF(4000, 4000), mark(CaptureTool::blur, {0, 0}, {100, 100}), target, {}};
}

} // namespace

TEST(CaptureLayoutCache, EveryChangedInputLaysTheCompositionOutAgain)
{
    const QList<std::function<void(LayoutInputs &)>> edits{
        [](LayoutInputs &in) { in.legend.first().text = QStringLiteral("Open the menu, then choose Save As"); },
        [](LayoutInputs &in) { in.crop = QRectF(10, 20, 300.5, 200); },
        [](LayoutInputs &in) {
            in.marks.append(lens({20, 20, 40, 40}, {500, 300, 200, 200}, 3));
        },
        [](LayoutInputs &in) { in.composition.padding = 30; },
        [](LayoutInputs &in) { in.composition.legend.placement = CaptureLegendPlacement::left; },
        [](LayoutInputs &in) { in.legend.clear(); },
        [](LayoutInputs &in) { in.crop = QRectF(10, 20, 300.5 + 1e-9, 200); },
    };
    LayoutInputs inputs;
    CaptureLayoutCache cache;
    laidOut(cache, inputs);
    for (qsizetype step = 0; step < edits.size(); ++step) {
        edits[step](inputs);
        CaptureLayoutCache fresh;
        EXPECT_EQ(laidOut(cache, inputs), laidOut(fresh, inputs)) << "edit " << step + 1;
        EXPECT_EQ(laidOut(cache, inputs), laidOut(fresh, inputs)) << "edit " << step + 1 << ", asked again";
    }
}

TEST(CaptureEffectCache, FindsOnlyWhatMatchesAndForgetsTheLeastRecentlyUsedPastItsSize)
{
    CaptureEffectCache cache;
    QImage pixels(2048, 2048, QImage::Format_ARGB32_Premultiplied); // 16 MiB
    pixels.fill(Qt::red);
    for (int index = 0; index < 4; ++index)
        cache.insert(effectKey(QRect(index, 0, 10, 10)), pixels);
    CaptureEffectCache::Key moved = effectKey(QRect(0, 0, 10, 10));
    moved.effect->end += QPointF(0.5, 0);
    EXPECT_FALSE(cache.find(moved));
    CaptureEffectCache::Key covered = effectKey(QRect(0, 0, 10, 10));
    covered.marks.append(mark(CaptureTool::redact, {0, 0}, {5, 5}));
    EXPECT_FALSE(cache.find(covered));
    CaptureEffectCache::Key lensCopy = effectKey(QRect(0, 0, 10, 10));
    lensCopy.effect.reset();
    EXPECT_FALSE(cache.find(lensCopy));
    // Using the first keeps it; a fifth entry of 16 MiB goes past 64 MiB and the second goes.
    EXPECT_TRUE(cache.find(effectKey(QRect(0, 0, 10, 10))));
    cache.insert(effectKey(QRect(9, 0, 10, 10)), pixels);
    EXPECT_TRUE(cache.find(effectKey(QRect(0, 0, 10, 10))));
    EXPECT_FALSE(cache.find(effectKey(QRect(1, 0, 10, 10))));
    EXPECT_TRUE(cache.find(effectKey(QRect(2, 0, 10, 10))));
    EXPECT_TRUE(cache.find(effectKey(QRect(9, 0, 10, 10))));
}
