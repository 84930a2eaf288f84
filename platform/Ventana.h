#pragma once
// Window procedures and posted messages.
//
// A window has a chain of message procedures, the way a classic desktop
// window has one: installing a new procedure returns the one in place, a
// procedure hands a message on by calling the one it replaced, and putting
// the kept one back removes it. Messages posted to the window run through
// the chain later, on the user-interface thread.
#include <QObject>
#include <cstdint>

class QWidget;

namespace quimbal {

class Ventana;
using HWND = Ventana*;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using ProcVentana = LRESULT (*)(HWND, std::uint32_t uMsg, WPARAM, LPARAM);

constexpr int GWL_WNDPROC = -4;
constexpr std::uint32_t WM_USER = 0x400;
constexpr std::uint32_t WM_APP = 0x8000;

class Ventana : public QObject {
    Q_OBJECT
public:
    // The window object that belongs to a widget, created on first use and
    // destroyed with the widget.
    static Ventana* de(QWidget* widget);
    explicit Ventana(QObject* padre = nullptr);
    ~Ventana() override;

    QWidget* widget() const;
    ProcVentana procedimiento() const { return proc_; }
    // Every window starts with this procedure: it handles nothing, answers 0.
    static LRESULT ProcPredeterminado(HWND, std::uint32_t, WPARAM, LPARAM);

protected:
    bool event(QEvent* e) override;

private:
    friend ProcVentana SetWindowLong(HWND, int, ProcVentana);
    ProcVentana proc_ = &ProcPredeterminado;
};

// Replaces the window's procedure (index GWL_WNDPROC) and returns the one that
// was in place; any other index or a null window does nothing and returns null.
ProcVentana SetWindowLong(HWND hWnd, int indice, ProcVentana nuevo);
// Hands a message to the given procedure.
LRESULT CallWindowProc(ProcVentana proc, HWND hWnd, std::uint32_t uMsg, WPARAM wParam,
                       LPARAM lParam);
// Runs a message through the window's current procedure now.
LRESULT SendMessage(HWND hWnd, std::uint32_t uMsg, WPARAM wParam, LPARAM lParam);
// Queues a message for the window; safe from any thread. The message runs
// through the chain that is in place when it is delivered. A window that is
// gone by then drops it.
bool PostMessage(HWND hWnd, std::uint32_t uMsg, WPARAM wParam, LPARAM lParam);

} // namespace quimbal
