#include <gtest/gtest.h>

#include "image/CTexture.h"

#include <SDL.h>

#include <vector>

// A 3 x 2 surface (odd width, so 24-bit rows are padded) of distinct colours comes out as
// tight RGB(A) rows in byte order, top row first or bottom row first.
TEST(SurfacePacking, EveryLayoutBecomesTightByteOrderedRows) {
    const auto colour = [](int i, int c) {
        return Uint8(c == 0 ? 40 * i : c == 1 ? 200 - 30 * i : c == 2 ? 7 * i : 255 - 50 * i);
    };
    const struct {
        int bits;
        Uint32 r, g, b, a;
        int tolerance; // 16-bit colour keeps only 5 or 6 bits per channel
    } layouts[] = {{24, 0xFF, 0xFF00, 0xFF0000, 0, 0},          {24, 0xFF0000, 0xFF00, 0xFF, 0, 0},
                   {32, 0xFF0000, 0xFF00, 0xFF, 0, 0},          {8, 0, 0, 0, 0, 0},
                   {32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, 0}, {16, 0xF800, 0x07E0, 0x001F, 0, 8}};
    for (const auto& l : layouts) {
        SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, 3, 2, l.bits, l.r, l.g, l.b, l.a);
        SDL_Color palette[6];
        for (int i = 0; i < 6; ++i) {
            palette[i] = {colour(i, 0), colour(i, 1), colour(i, 2), 0};
            SDL_Rect px{Sint16(i % 3), Sint16(i / 3), 1, 1};
            if (l.bits == 8) SDL_SetColors(s, palette + i, i, 1);
            SDL_FillRect(
                s, &px,
                SDL_MapRGBA(s->format, colour(i, 0), colour(i, 1), colour(i, 2), colour(i, 3)));
        }
        const bool alpha = l.a != 0;
        for (bool bottomUp : {false, true}) {
            const std::vector<unsigned char> got = PackSurfacePixels(s, alpha, bottomUp);
            ASSERT_EQ(got.size(), size_t(alpha ? 24 : 18)) << l.bits;
            for (size_t k = 0; k < got.size(); ++k) {
                const int channels = alpha ? 4 : 3, row = int(k) / (3 * channels);
                const int i = (bottomUp ? 1 - row : row) * 3 + int(k) % (3 * channels) / channels;
                EXPECT_NEAR(got[k], colour(i, int(k) % channels), l.tolerance)
                    << l.bits << " " << k;
            }
        }
        SDL_FreeSurface(s);
    }
}
