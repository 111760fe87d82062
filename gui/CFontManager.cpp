#include "gui/CFontManager.h"

#include "gui/CFont.h"

#include <iostream>
#include <string>

CFontManager::CFontManager() = default;

CFontManager::~CFontManager() {
    m_Fonts.clear();
}

void CFontManager::LoadFont(const char* file) {
    std::cout << "Loading Font: " << (file ? file : "") << std::endl;
    auto* font = new CFont();
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
