#pragma once
// The list of GUI windows (g_Windowmanager). The engine's frame calls MainLoop in the 2D
// pixel view; windows are drawn in registration order, later ones over earlier ones.
#include <vector>

class CWindow;

class CWindowManager {
public:
    CWindowManager();
    // Deletes every registered window.
    ~CWindowManager();
    CWindowManager(const CWindowManager&) = delete;
    CWindowManager& operator=(const CWindowManager&) = delete;

    // The manager takes ownership; a window already in the list is not added twice.
    void RegisterWindow(CWindow* window);
    // Takes the window out of the list and deletes it, at any time (also mid-drag).
    void UnRegisterWindow(CWindow* window);
    // Draws (and so runs the input of) every visible window.
    void MainLoop();
    // Activates, and so shows, every window with this ID; the others keep their state.
    void ActivateWindow(int id);
    void DeactivateAllWindow();

    const std::vector<CWindow*>& GetWindows() const { return m_Windows; }

private:
    std::vector<CWindow*> m_Windows;
};
