#include <gtest/gtest.h>

#include "gui/CFont.h"
#include "gui/CFontManager.h"

#include <string>

TEST(FontText, LongTextIsCutAtTheBufferAndTheManagerFallsBackToTheLastFont) {
    CFont font; // unbuilt: formats, draws nothing
    EXPECT_TRUE(font.PrintText(0, 0, 0, "%s", std::string(400, 'x').c_str()));
    EXPECT_EQ(std::string(font.GetText()), std::string(151, 'x'));
    EXPECT_TRUE(font.PrintText(0, 0, 0, 1, 1, 1, "v%d", 42));
    EXPECT_STREQ(font.GetText(), "v42");
    EXPECT_TRUE(font.PrintText(0, 0, 0, nullptr));
    EXPECT_STREQ(font.GetText(), "");
    CFontManager manager; // numbered from 1
    EXPECT_EQ(manager.getFont(1), nullptr);
    CFont second;
    manager.RegisterFont(&font);
    manager.RegisterFont(&second);
    EXPECT_TRUE(manager.GetFontCount() == 2 && manager.getFont(1) == &font);
    for (int n : {0, 2, 5})
        EXPECT_EQ(manager.getFont(n), &second) << n;
}

TEST(FontDeathTest, MissingImageEndsTheProgramWithAFailureNamingTheFile) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    char file[] = "Data/Font/no-such-font.tga";
    EXPECT_EXIT(CFont().BuildFont(file), ::testing::ExitedWithCode(1), "no-such-font\\.tga");
}
