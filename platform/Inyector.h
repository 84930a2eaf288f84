#pragma once
// Injected input: mouse button events at the pointer's position and key
// strokes for the window that has the keyboard focus. The program installs a
// backend in servicios().inyector at start-up; the calls below reach it.
#include "platform/NotacionTeclas.h"

#include <QList>
#include <QString>
#include <cstdint>
#include <memory>

namespace quimbal {

// Mouse button flags, as the classic call takes them. Several may be given at
// once; they are performed in the order of the table.
constexpr unsigned MOUSEEVENTF_LEFTDOWN = 0x0002;
constexpr unsigned MOUSEEVENTF_LEFTUP = 0x0004;
constexpr unsigned MOUSEEVENTF_RIGHTDOWN = 0x0008;
constexpr unsigned MOUSEEVENTF_RIGHTUP = 0x0010;
constexpr unsigned MOUSEEVENTF_MIDDLEDOWN = 0x0020;
constexpr unsigned MOUSEEVENTF_MIDDLEUP = 0x0040;

class Inyector {
public:
    virtual ~Inyector() = default;
    // One or more button events (MOUSEEVENTF_ flags) at the pointer's current
    // position; the pointer does not move. False when the events could not be
    // injected (other flag bits are ignored; none known is a failure).
    virtual bool mouse_event(unsigned flags) = 0;
    // Queues the strokes for the focused window and returns without waiting
    // for it. Every stroke is checked before the first is sent: false means
    // nothing at all was sent. Modifiers pressed for a stroke are released
    // before the call returns, whatever happens.
    virtual bool enviarTeclas(const QList<Pulsacion>& pulsaciones) = 0;
};

// The classic call: dx, dy, dwData and dwExtraInfo are accepted and unused (no
// movement flag is supported). Without an installed injector it does nothing.
bool mouse_event(unsigned dwFlags, int dx = 0, int dy = 0, unsigned dwData = 0,
                 std::uintptr_t dwExtraInfo = 0);

// Parses a key string (NotacionTeclas.h) and injects it through the installed
// injector, not waiting for the target. An empty string sends nothing and
// succeeds. False when the notation rejects the string, when no injector is
// installed or when the injector could not send it: in every such case
// nothing was sent.
bool SendKeys(const QString& teclas);

// Picks the injection backend for this session: X11 (XTest) when an X display
// can be opened, otherwise one that fails every call. In that case a single
// line on standard error says why, and `aviso` (when given) receives a Spanish
// text for the user, non-empty only where the user must be told (a Wayland
// session without X).
std::unique_ptr<Inyector> CrearInyector(QString* aviso = nullptr);

// The backend of a session without any injection: every call fails.
class InyectorNulo : public Inyector {
public:
    bool mouse_event(unsigned) override { return false; }
    bool enviarTeclas(const QList<Pulsacion>& p) override { return p.isEmpty(); }
};

} // namespace quimbal
