#include "CaptureLaunch.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <array>
#include <utility>

namespace {

constexpr std::array variables{"TAVIMO_SESSION_TYPE", "WAYLAND_DISPLAY", "DISPLAY", "QT_QPA_PLATFORM"};

// Sets the four variables (null unsets one) and restores them afterwards.
class Environment {
public:
    explicit Environment(const std::array<const char *, variables.size()> &values)
    {
        for (size_t index = 0; index < variables.size(); ++index) {
            m_saved[index] = {qEnvironmentVariableIsSet(variables[index]), qgetenv(variables[index])};
            if (values[index])
                qputenv(variables[index], values[index]);
            else
                qunsetenv(variables[index]);
        }
    }
    ~Environment()
    {
        for (size_t index = 0; index < variables.size(); ++index) {
            if (m_saved[index].first)
                qputenv(variables[index], m_saved[index].second);
            else
                qunsetenv(variables[index]);
        }
    }

private:
    std::array<std::pair<bool, QByteArray>, variables.size()> m_saved;
};

} // namespace

TEST(CaptureLaunch, OnlyWaylandCapturesWithoutAnAppAskForScreensAndOnlyWhereADisplayIsReachable)
{
    const struct {
        std::array<const char *, variables.size()> values;
        bool needsScreens;
    } cases[] = {
        {{"wayland", "wayland-1", nullptr, nullptr}, true}, {{"wayland", nullptr, ":0", nullptr}, true},
        {{"wayland", nullptr, nullptr, "offscreen"}, true}, {{"wayland", nullptr, nullptr, nullptr}, false},
        {{"x11", "wayland-1", ":0", nullptr}, false},
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(testing::PrintToString(test.values));
        const Environment environment(test.values);
        EXPECT_EQ(CaptureLaunch::captureNeedsScreens(), test.needsScreens);
    }
}
