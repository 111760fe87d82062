#include "gui/CProgressBar.h"

CProgressBar::CProgressBar()
    : m_pImage(nullptr), m_uiMaximum(0), m_uiCurrent(0), m_Section{1.0f, 0.0f, 0.0f, 0.0f} {}

CProgressBar::CProgressBar(char* file, unsigned int x, unsigned int y) : CProgressBar() {
    m_pImage = new CTexture(file ? file : "");
    m_Position = CVector2(float(x), float(y));
}

CProgressBar::CProgressBar(char* file, unsigned int x, unsigned int y, unsigned int maximum)
    : CProgressBar(file, x, y) {
    m_uiMaximum = maximum;
}

CProgressBar::~CProgressBar() {
    delete m_pImage;
}

void CProgressBar::IncrementActualLength(unsigned int n) {
    // Added in 64 bits so a huge step cannot wrap round below the maximum.
    const unsigned long long sum = (unsigned long long)m_uiCurrent + n;
    m_uiCurrent = sum > m_uiMaximum ? m_uiMaximum : unsigned(sum);
}

bool CProgressBar::SectionFor(unsigned int current, unsigned int maximum, sRect* section) {
    if (maximum == 0) return false;
    section->top = 1.0f;
    section->bottom = 0.0f;
    section->left = 0.0f;
    section->right = float(current) / float(maximum);
    return true;
}

void CProgressBar::Draw() {
    InDraw(0.0f, 0.0f);
}

void CProgressBar::InDraw(float wx, float wy) {
    if (!m_pImage || !SectionFor(m_uiCurrent, m_uiMaximum, &m_Section)) return;
    m_pImage->DrawSection(m_Position.x + wx, m_Position.y + wy, m_Section, 1.0f, 0.0f, 1.0f, 1.0f,
                          1.0f, 1.0f);
}
