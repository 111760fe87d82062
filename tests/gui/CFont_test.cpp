#include <gtest/gtest.h>

#include "gui/CFont.h"
#include "gui/CFontManager.h"

#include <string>

TEST(FontLayout, SetsAndBold) {
    using font_layout::ResolveSet;
    EXPECT_EQ(ResolveSet(0).glyphSet, 0);
    EXPECT_FALSE(ResolveSet(0).bold);
    EXPECT_EQ(ResolveSet(1).glyphSet, 1);
    EXPECT_EQ(ResolveSet(2).glyphSet, 0);
    EXPECT_TRUE(ResolveSet(2).bold);
    EXPECT_EQ(ResolveSet(3).glyphSet, 1);
    EXPECT_EQ(ResolveSet(9).glyphSet, 1); // above 3 counts as 3
    EXPECT_TRUE(ResolveSet(9).bold);
    EXPECT_EQ(ResolveSet(char(200)).glyphSet, 1);
}

TEST(FontLayout, GlyphCellsCountRowsFromTheTopOfTheImage) {
    sGlyphCorner c[4];
    font_layout::GlyphCorners(0, c);
    EXPECT_FLOAT_EQ(c[3].u, 0.0f);
    EXPECT_FLOAT_EQ(c[3].v, 0.999f); // top edge inset
    EXPECT_FLOAT_EQ(c[0].v, 0.9375f);
    EXPECT_FLOAT_EQ(c[1].x, 16.0f);
    font_layout::GlyphCorners(255, c);
    EXPECT_FLOAT_EQ(c[1].u, 1.0f);
    EXPECT_FLOAT_EQ(c[1].v, 0.0f);
}

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

TEST(FontColor, FourFloatsAreStoredInTheirNamedPlaces) {
    CFont font;
    font.SetFontColor(0.1f, 0.2f, 0.3f, 0.4f);
    EXPECT_FLOAT_EQ(font.GetColor().r, 0.1f);
    EXPECT_FLOAT_EQ(font.GetColor().g, 0.2f);
    EXPECT_FLOAT_EQ(font.GetColor().b, 0.3f);
    EXPECT_FLOAT_EQ(font.GetColor().a, 0.4f);
}

TEST(FontManager, NumbersFromOneAndFallsBackToTheLastFont) {
    CFontManager manager;
    EXPECT_EQ(manager.getFont(1), nullptr);
    CFont first, second;
    manager.RegisterFont(&first);
    manager.RegisterFont(&second);
    EXPECT_EQ(manager.GetFontCount(), 2u);
    EXPECT_EQ(manager.getFont(1), &first);
    EXPECT_EQ(manager.getFont(2), &second);
    EXPECT_EQ(manager.getFont(0), &second);
    EXPECT_EQ(manager.getFont(5), &second);
}

TEST(FontDeathTest, MissingImageEndsTheProgramWithAFailureNamingTheFile) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            CFont font;
            char file[] = "Data/Font/no-such-font.tga";
            font.BuildFont(file);
        },
        ::testing::ExitedWithCode(1), "no-such-font\\.tga");
}
