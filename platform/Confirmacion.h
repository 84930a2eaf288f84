#pragma once
// The confirmation sounds: each switch press (or blow) the inputs count is
// answered with one short sound, each one they drop with another, so that a
// user who cannot see the screen knows whether the press was taken. A call
// returns at once whatever the sound system does; without one, nothing sounds.
#include <memory>

namespace quimbal {

class Confirmacion {
public:
    virtual ~Confirmacion() = default;
    // The press was counted: a short rising sound.
    virtual void aceptada() = 0;
    // The press was dropped (too short, too soon, paused): a lower, longer one.
    virtual void ignorada() = 0;
};

// The confirmation sounds of this system.
std::unique_ptr<Confirmacion> CrearConfirmacion();

} // namespace quimbal
