#pragma once
// Injection through the kernel (/dev/uinput): a virtual keyboard and mouse
// that every compositor reads like a device plugged in.
#include "platform/Inyector.h"

namespace quimbal {

// Null when the device cannot be created; `motivo` then says why (in Spanish,
// e.g. "permiso denegado al abrir /dev/uinput").
std::unique_ptr<Inyector> CrearInyectorUinput(QString& motivo);

} // namespace quimbal
