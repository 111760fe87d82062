#include <gtest/gtest.h>

#include "gui/CFont.h"
#include "gui/CFontManager.h"

#include <string>

TEST(FontText, LongTextIsCutAtTheBufferNeverPastIt) {
    CFont font; // unbuilt: formats, draws nothing
    const std::string longText(400, 'x');
    EXPECT_TRUE(font.PrintText(0, 0, 0, "%s", longText.c_str()));
    EXPECT_EQ(std::string(font.GetText()), std::string(151, 'x'));
    EXPECT_TRUE(font.PrintText(0, 0, 0, 1, 1, 1, "v%d", 42));
    EXPECT_STREQ(font.GetText(), "v42");
    EXPECT_TRUE(font.PrintText(0, 0, 0, nullptr));
    EXPECT_STREQ(font.GetText(), "");
}

TEST(FontManager, NumbersFromOneAndFallsBackToTheLastFont) {
    CFontManager manager;
    EXPECT_EQ(manager.getFont(1), nullptr);
    CFont first, second;
    manager.RegisterFont(&first);
    manager.RegisterFont(&second);
    EXPECT_EQ(manager.GetFontCount(), 2u);
    EXPECT_EQ(manager.getFont(1), &first);
    for (int n : {0, 2, 5})
        EXPECT_EQ(manager.getFont(n), &second) << n;
}

TEST(FontDeathTest, MissingImageEndsTheProgramWithAFailureNamingTheFile) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    char file[] = "Data/Font/no-such-font.tga";
    EXPECT_EXIT(CFont().BuildFont(file), ::testing::ExitedWithCode(1), "no-such-font\\.tga");
}
