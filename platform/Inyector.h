#pragma once
// Injected input: mouse button events at the pointer's position and key
// strokes for the window that has the keyboard focus.
#include "platform/NotacionTeclas.h"

#include <QList>
#include <QString>
#include <memory>

namespace quimbal {

enum class BotonRaton { Izquierdo, Derecho };

class Inyector {
public:
    virtual ~Inyector() = default;
    // One button event at the pointer's current position; the pointer does
    // not move. False when it could not be injected.
    virtual bool boton(BotonRaton boton, bool abajo) = 0;
    // Queues the strokes for the focused window and returns without waiting
    // for it. Every stroke is checked before the first is sent: false means
    // nothing at all was sent. Modifiers pressed for a stroke are released
    // before the call returns, whatever happens. Keys that follow a button
    // event reach the window after it.
    virtual bool teclear(const QList<Pulsacion>& pulsaciones) = 0;
};

// The backend for this session: in a Wayland session (WAYLAND_DISPLAY set)
// a virtual device made with the kernel's uinput, which reaches every window;
// otherwise, or when uinput cannot be used, X11 (XTest) when an X display can
// be opened; otherwise one that fails every call. Each failure puts one line
// on standard error, and `aviso` receives a Spanish text for the user,
// non-empty only where the user must be told: uinput unusable in a Wayland
// session (with the fix, and what still works), or a Wayland session without
// any way to inject.
std::unique_ptr<Inyector> CrearInyector(QString& aviso);

// The backend of a session without any injection: every call fails.
class InyectorNulo : public Inyector {
public:
    bool boton(BotonRaton, bool) override { return false; }
    bool teclear(const QList<Pulsacion>& p) override { return p.isEmpty(); }
};

} // namespace quimbal
