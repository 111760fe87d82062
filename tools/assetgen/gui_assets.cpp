// GUI demo content: button and check-box frame sequences, the two window backgrounds, the
// progress bar's fill and track, and the click and music sounds as WAV files.
#include "tools/assetgen/content.h"
#include "tools/assetgen/encoders.h"
#include "tools/assetgen/text.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace assetgen {

namespace {

const int kButtonFrames = 6;
const int kCheckFrames = 4;
const int kSampleRate = 22050;

// A rectangle with corners of radius r, antialiased by its coverage.
void RoundedRect(Canvas& c, float x0, float y0, float x1, float y1, float r, const Color& col) {
    for (int y = std::max(0, int(y0)); y < std::min(c.Height(), int(std::ceil(y1))); ++y)
        for (int x = std::max(0, int(x0)); x < std::min(c.Width(), int(std::ceil(x1))); ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            const float dx = std::max({x0 + r - px, 0.0f, px - (x1 - r)});
            const float dy = std::max({y0 + r - py, 0.0f, py - (y1 - r)});
            const float outside = std::sqrt(dx * dx + dy * dy) - r;
            const float edge = std::min({px - x0, x1 - px, py - y0, y1 - py}) + 0.5f;
            c.Blend(x, y, col, Clamp01(0.5f - outside) * Clamp01(edge));
        }
}

void CentredText(Canvas& c, const TextFace& face, const std::string& text, float cx, float baseline,
                 const Color& col) {
    face.Draw(c, text, cx - face.Measure(text) / 2, baseline, col);
}

// Frame k of n of a 160 x 40 button: the face brightens and a rim lights up as the hover
// animation plays, so the last frame is the fully lit one.
Canvas ButtonFrame(const std::string& label, const Color& base, int k, int n) {
    const int w = 160, h = 40;
    const float t = n > 1 ? float(k) / float(n - 1) : 1.0f;
    Canvas c(w, h);
    RoundedRect(c, 1, 2, w - 1, h, 8, Color{0, 0, 0, 0.45f});
    RoundedRect(c, 0, 0, w - 2, h - 2, 8, Mix(Rgb(235, 240, 255), Rgb(255, 230, 120), t));
    RoundedRect(c, 2, 2, w - 4, h - 4, 6, Mix(Scale(base, 0.8f), Scale(base, 1.25f), t));
    c.ShadeRect(2, 2, w - 4, h - 4, 1.25f, 0.75f);
    static const TextFace face(DejaVuPath("DejaVuSans-Bold.ttf"), 17);
    CentredText(c, face, label, w / 2.0f + 1, 27, Color{0, 0, 0, 0.6f});
    CentredText(c, face, label, w / 2.0f, 26, Mix(Rgb(235, 235, 235), Rgb(255, 255, 255), t));
    return c;
}

// Frame k of n of a 24 x 24 check box, with or without its tick.
Canvas CheckFrame(bool checked, int k, int n) {
    const float t = n > 1 ? float(k) / float(n - 1) : 1.0f;
    Canvas c(24, 24);
    RoundedRect(c, 0, 0, 24, 24, 4, Mix(Rgb(200, 205, 220), Rgb(255, 220, 100), t));
    RoundedRect(c, 2, 2, 22, 22, 3, Mix(Rgb(30, 34, 48), Rgb(50, 56, 80), t));
    if (checked) {
        c.Line(6, 12, 10, 17, 3.0f, Rgb(110, 235, 120));
        c.Line(10, 17, 18, 6, 3.0f, Rgb(110, 235, 120));
    }
    return c;
}

// A panel with a darker header strip of headerSize pixels carrying the title.
Canvas WindowBackground(int w, int h, int headerSize, const std::string& title, const Color& tint) {
    Canvas c(w, h);
    RoundedRect(c, 0, 0, w, h, 10, Rgb(190, 200, 225));
    RoundedRect(c, 2, 2, w - 2, h - 2, 8, Scale(tint, 0.55f));
    c.ShadeRect(2, headerSize, w - 2, h - 2, 1.0f, 0.6f);
    c.FillRect(2, 2, w - 2, headerSize, Scale(tint, 1.1f));
    c.ShadeRect(2, 2, w - 2, headerSize, 1.2f, 0.8f);
    c.FillRect(2, headerSize, w - 2, headerSize + 1, Rgb(190, 200, 225));
    static const TextFace face(DejaVuPath("DejaVuSans-Bold.ttf"), 14);
    face.Draw(c, title, 12, headerSize - 7, Rgb(255, 255, 255));
    // Grip dots at the right end of the header say it can be dragged.
    for (int i = 0; i < 3; ++i)
        c.FillCircle(w - 20 - i * 8, headerSize / 2.0f + 1, 2, Rgb(230, 235, 250));
    return c;
}

Canvas ProgressFill() {
    const int w = 360, h = 20;
    Canvas c(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Color along = Mix(Rgb(40, 200, 90), Rgb(250, 210, 60), float(x) / (w - 1));
            const bool stripe = ((x + y) / 10) % 2 == 0;
            c.At(x, y) = Scale(along, stripe ? 1.0f : 0.82f);
        }
    c.ShadeRect(0, 0, w, h, 1.2f, 0.7f);
    return c;
}

Canvas ProgressTrack() {
    Canvas c(368, 28);
    RoundedRect(c, 0, 0, 368, 28, 6, Rgb(190, 200, 225));
    RoundedRect(c, 2, 2, 366, 26, 5, Rgb(14, 16, 24));
    return c;
}

// A chunk tag: four characters, no terminator.
void Tag(ByteWriter& w, const char* fourCC) {
    for (int i = 0; i < 4; ++i)
        w.U8(static_cast<uint8_t>(fourCC[i]));
}

// 16-bit mono PCM.
Bytes EncodeWav(const std::vector<float>& samples) {
    ByteWriter w;
    const uint32_t dataBytes = uint32_t(samples.size() * 2);
    Tag(w, "RIFF");
    w.U32(36 + dataBytes);
    Tag(w, "WAVE");
    Tag(w, "fmt ");
    w.U32(16);
    w.U16(1); // PCM
    w.U16(1); // mono
    w.U32(kSampleRate);
    w.U32(kSampleRate * 2);
    w.U16(2);
    w.U16(16);
    Tag(w, "data");
    w.U32(dataBytes);
    for (float s : samples)
        w.I16(int(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f)));
    return w.Data();
}

// A short tick: a fast-decaying tone over a little noise, about 70 ms.
std::vector<float> Click() {
    Rng rng(0xC11C4);
    std::vector<float> s(size_t(kSampleRate * 0.07));
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = float(i) / kSampleRate;
        const float envelope = std::exp(-t / 0.012f);
        s[i] = envelope * (0.55f * std::sin(2 * kPi * 1800 * t) + 0.3f * rng.Range(-1, 1));
    }
    return s;
}

// Four seconds of a looping pentatonic arpeggio over a soft bass.
std::vector<float> Music() {
    static const float kNotes[] = {261.63f, 293.66f, 329.63f, 392.00f,
                                   440.00f, 392.00f, 329.63f, 293.66f};
    static const float kBass[] = {130.81f, 110.00f, 98.00f, 110.00f};
    const float noteLength = 0.25f;
    std::vector<float> s(size_t(kSampleRate * 4));
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = float(i) / kSampleRate;
        const int note = int(t / noteLength);
        const float inNote = t - note * noteLength;
        const float lead = kNotes[note % 8] * (note / 8 % 2 ? 1.5f : 1.0f);
        const float bass = kBass[int(t) % 4];
        const float attack = std::min(1.0f, inNote / 0.01f);
        s[i] = 0.28f * attack * std::exp(-inNote / 0.18f) * std::sin(2 * kPi * lead * t) +
               0.14f * std::sin(2 * kPi * bass * t);
    }
    return s;
}

} // namespace

void WriteGuiContent(const std::string& root) {
    struct Button {
        const char* name;
        const char* label;
        Color colour;
    };
    const Button buttons[] = {{"fill", "Fill bar", Rgb(40, 120, 200)},
                              {"empty", "Empty bar", Rgb(120, 80, 180)},
                              {"music", "Music", Rgb(200, 90, 50)},
                              {"beep", "Click me", Rgb(40, 150, 110)},
                              {"hello", "Hello", Rgb(150, 140, 40)}};
    for (const Button& b : buttons)
        for (int k = 0; k < kButtonFrames; ++k)
            WriteFile(root, std::string("Data/GUI/") + b.name + std::to_string(k + 1) + ".png",
                      EncodePng(ButtonFrame(b.label, b.colour, k, kButtonFrames)));
    for (int k = 0; k < kCheckFrames; ++k) {
        WriteFile(root, "Data/GUI/checkOff" + std::to_string(k + 1) + ".png",
                  EncodePng(CheckFrame(false, k, kCheckFrames)));
        WriteFile(root, "Data/GUI/checkOn" + std::to_string(k + 1) + ".png",
                  EncodePng(CheckFrame(true, k, kCheckFrames)));
    }
    WriteFile(root, "Data/GUI/windowControls.png",
              EncodePng(WindowBackground(400, 340, 24, "Controls", Rgb(60, 90, 150))));
    WriteFile(root, "Data/GUI/windowTexts.png",
              EncodePng(WindowBackground(480, 360, 24, "Texts", Rgb(120, 70, 110))));
    WriteFile(root, "Data/GUI/progressFill.png", EncodePng(ProgressFill()));
    WriteFile(root, "Data/GUI/progressTrack.png", EncodePng(ProgressTrack()));
    WriteFile(root, "Data/Sound/click.wav", EncodeWav(Click()));
    WriteFile(root, "Data/Sound/music.wav", EncodeWav(Music()));
}

} // namespace assetgen
