#include <gtest/gtest.h>

#include "platform/keys.h"
#include "platform/platform.h"

namespace {

// SDL key codes: printable keys are their lower-case characters.
constexpr int32_t SdlEscape = 27;
constexpr int32_t SdlA = 'a';
constexpr int32_t SdlSeven = '7';
constexpr int32_t SdlRight = 0x4000004F;
constexpr int32_t SdlF4 = 0x4000003D;
constexpr int32_t SdlF10 = 0x40000043;

class KeysTest : public testing::Test {
protected:
    void SetUp() override { std::fill(std::begin(KeyState), std::end(KeyState), uint8_t(0)); }
};

} // namespace

TEST_F(KeysTest, PressRepeatAndRelease) {
    record_key_event(SdlEscape, true, false);
    record_key_event(SdlEscape, true, false); // auto-repeat
    EXPECT_EQ(KeyState[KeyEscape], 1);
    record_key_event(SdlEscape, false, false);
    EXPECT_EQ(KeyState[KeyEscape], 0);
    record_key_event(SdlA, false, false); // never pressed
    EXPECT_EQ(KeyState['A'], 0);
    record_key_event(SdlRight, true, false);
    record_key_event(SdlSeven, true, false);
    record_key_event('[', true, false); // no virtual key: ignored
    EXPECT_EQ(KeyState[KeyRight], 1);
    EXPECT_EQ(KeyState['7'], 1);
}

TEST_F(KeysTest, SystemKeysAreNotRecordedButNeverStick) {
    record_key_event(SdlA, true, true);
    record_key_event(SdlF10, true, false);
    EXPECT_EQ(KeyState['A'], 0);
    EXPECT_EQ(KeyState[KeyF1 + 9], 0);

    record_key_event(SdlA, true, false);
    record_key_event(SdlA, false, true); // released while Alt is down
    EXPECT_EQ(KeyState['A'], 0);

    EXPECT_TRUE(is_close_request(SdlF4, true, true));
    EXPECT_FALSE(is_close_request(SdlF4, true, false));
    EXPECT_FALSE(is_close_request(SdlF4, false, true));
}
