#pragma once
#include <memory>
#include <vector>

class CFont;

// The registry of loaded fonts, numbered from 1. Fonts live for the whole run: the ones
// the manager loads itself until it is destroyed, registered ones as long as their owner
// keeps them.
class CFontManager {
public:
    CFontManager();
    // Empties the list and deletes the fonts LoadFont created.
    ~CFontManager();
    CFontManager(const CFontManager&) = delete;
    CFontManager& operator=(const CFontManager&) = delete;

    void LoadFont(const char* file);
    void RegisterFont(CFont* font);
    // Font number index (1-based); 0 or past the count gives the last font, and null when
    // none is loaded.
    CFont* getFont(unsigned int index);
    unsigned int GetFontCount() const { return m_FontCount; }

private:
    std::vector<CFont*> m_Fonts;
    std::vector<std::unique_ptr<CFont>> m_LoadedFonts;
    unsigned int m_FontCount = 0;
};
