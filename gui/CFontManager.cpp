#include "gui/CFontManager.h"

#include "gui/CFont.h"

#include <iostream>
#include <string>

CFontManager::CFontManager() = default;

CFontManager::~CFontManager() {
    // Fonts registered from outside belong to their owner; the loaded ones die here, while
    // the engine's GL context still exists, so their display lists are released with them.
    m_Fonts.clear();
    m_LoadedFonts.clear();
}

void CFontManager::LoadFont(const char* file) {
    std::cout << "Loading Font: " << (file ? file : "") << std::endl;
    m_LoadedFonts.push_back(std::make_unique<CFont>());
    CFont* font = m_LoadedFonts.back().get();
    std::string path = file ? file : "";
    font->BuildFont(path.data());
    RegisterFont(font);
}

void CFontManager::RegisterFont(CFont* font) {
    m_Fonts.push_back(font);
    m_FontCount = static_cast<unsigned int>(m_Fonts.size());
}

CFont* CFontManager::getFont(unsigned int index) {
    if (m_Fonts.empty()) return nullptr;
    if (index == 0 || index > m_FontCount) return m_Fonts.back();
    return m_Fonts[index - 1];
}
