#include "X11GlobalHotKeys.h"

#include <gtest/gtest.h>

TEST(X11GlobalHotKeysWithoutX11, EveryRegistrationFailsCleanly)
{
    X11GlobalHotKeys hotKeys;
    EXPECT_FALSE(hotKeys.isSupported());
    const GlobalHotKeys::Identifier identifier{GlobalHotKeys::fourCharCode("TCAP"), 1};
    EXPECT_EQ(hotKeys.registerHotKey(Qt::CTRL | Qt::SHIFT | Qt::Key_2, identifier), GlobalHotKeys::Status::unsupported);
    hotKeys.unregisterHotKey(identifier);
    EXPECT_EQ(GlobalHotKeys::fourCharCode("TCAP"), 0x54434150u);
}
