#include "gui/CWindowManager.h"

#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "gui/CWindow.h"

#include <algorithm>

CWindowManager::CWindowManager() {}

CWindowManager::~CWindowManager() {
    for (CWindow* window : m_Windows)
        delete window;
}

void CWindowManager::RegisterWindow(CWindow* window) {
    // A second entry would be deleted twice.
    if (!window || std::find(m_Windows.begin(), m_Windows.end(), window) != m_Windows.end()) return;
    m_Windows.push_back(window);
}

void CWindowManager::UnRegisterWindow(CWindow* window) {
    auto it = std::find(m_Windows.begin(), m_Windows.end(), window);
    if (it == m_Windows.end()) return;
    m_Windows.erase(it);
    delete window;
}

void CWindowManager::MainLoop() {
    bool overHeader = false;
    for (CWindow* window : m_Windows) {
        if (!window->GetVisible()) continue;
        window->Draw();
        overHeader = overHeader || window->IsMouseOnMovableHeader();
    }
    // Each movable window sets the cursor for its own header; without this the last one
    // drawn would take the move cursor away from the headers of all earlier ones.
    if (overHeader && g_Graphics) g_Graphics->setActualCursorToWindowMove(true);
}

void CWindowManager::ActivateWindow(int id) {
    for (CWindow* window : m_Windows)
        if (window->GetID() == id) window->ActivateWindow(true);
}

void CWindowManager::DeactivateAllWindow() {
    for (CWindow* window : m_Windows)
        window->ActivateWindow(false);
}
