#pragma once
// Injection through the X server's XTest extension. No X11 header is needed to
// use it: the backend is created here and used through Inyector.
#include "platform/Inyector.h"

#include <memory>

namespace quimbal {

// Opens its own connection to the display named by DISPLAY. Null when there is
// no display or it lacks XTest or XKB; `motivo` then says why (Spanish).
std::unique_ptr<Inyector> CrearInyectorX11(QString& motivo);

} // namespace quimbal
