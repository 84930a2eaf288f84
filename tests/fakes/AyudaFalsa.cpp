#include "tests/fakes/AyudaFalsa.h"

#include "platform/Servicios.h"

namespace quimbal {

AyudaFalsa::AyudaFalsa() {
    servicios().ayuda = this;
}

AyudaFalsa::~AyudaFalsa() {
    if (servicios().ayuda == this)
        servicios().ayuda = nullptr;
}

} // namespace quimbal
