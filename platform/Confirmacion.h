#pragma once
// A short sound that confirms each press the inputs counted, and a different
// one for a press they ignored; played without holding the caller up.
#include <memory>

namespace quimbal {

class Confirmacion {
public:
    virtual ~Confirmacion() = default;
    virtual void aceptada() = 0;
    virtual void ignorada() = 0;
};

std::unique_ptr<Confirmacion> CrearConfirmacion();

} // namespace quimbal
