#include <gtest/gtest.h>

#include "platform/keys.h"
#include "platform/platform.h"

// SDL key codes: printable keys are their lower-case characters.
TEST(Keys, PressReleaseAndSystemKeys) {
    constexpr int32_t SdlEscape = 27, SdlRight = 0x4000004F, SdlF4 = 0x4000003D, SdlF10 = 0x40000043;
    std::fill(std::begin(KeyState), std::end(KeyState), uint8_t(0));
    record_key_event(SdlEscape, true, false);
    record_key_event(SdlEscape, true, false);  // auto-repeat
    EXPECT_EQ(KeyState[KeyEscape], 1);
    record_key_event(SdlEscape, false, false);
    EXPECT_EQ(KeyState[KeyEscape], 0);
    record_key_event(SdlRight, true, false);
    record_key_event('7', true, false);
    record_key_event('[', true, false);  // no virtual key: ignored
    EXPECT_EQ(KeyState[KeyRight], 1);
    EXPECT_EQ(KeyState['7'], 1);

    // Keys with Alt and F10 belong to the system; a key released with Alt down never sticks.
    record_key_event('a', true, true);
    record_key_event(SdlF10, true, false);
    EXPECT_EQ(KeyState['A'], 0);
    EXPECT_EQ(KeyState[KeyF1 + 9], 0);
    record_key_event('a', true, false);
    record_key_event('a', false, true);
    EXPECT_EQ(KeyState['A'], 0);

    EXPECT_TRUE(is_close_request(SdlF4, true, true));
    EXPECT_FALSE(is_close_request(SdlF4, true, false));
    EXPECT_FALSE(is_close_request(SdlF4, false, true));
}
