#include "platform/sonido/NivelSonido.h"

#include <algorithm>
#include <cstring>

namespace quimbal::sonido {

int NivelDePico(const std::int16_t* muestras, std::size_t cuantas) {
    int pico = 0;
    for (std::size_t i = 0; i < cuantas; ++i) {
        const int m = muestras[i];
        pico = std::max(pico, m < 0 ? -m : m); // -32768 gives 32768: full scale
    }
    // 32768 maps to 128; round to the nearest step.
    return (pico * kNivelMaximo + 16384) / 32768;
}

DivisorBloques::DivisorBloques(int muestrasPorBloque, int maxPendientes)
    : porBloque_(std::max(1, muestrasPorBloque)), maxPendientes_(std::max(1, maxPendientes)) {}

std::vector<int> DivisorBloques::agregar(const char* datos, std::size_t bytes) {
    std::vector<int> niveles;
    if (datos && bytes)
        resto_.insert(resto_.end(), datos, datos + bytes);
    const std::size_t bytesBloque = static_cast<std::size_t>(porBloque_) * sizeof(std::int16_t);
    std::size_t completos = resto_.size() / bytesBloque;
    std::size_t inicio = 0;
    if (completos > static_cast<std::size_t>(maxPendientes_)) {
        const std::size_t viejos = completos - static_cast<std::size_t>(maxPendientes_);
        descartados_ += static_cast<long long>(viejos);
        inicio = viejos * bytesBloque;
        completos = static_cast<std::size_t>(maxPendientes_);
    }
    std::vector<std::int16_t> bloque(static_cast<std::size_t>(porBloque_));
    for (std::size_t b = 0; b < completos; ++b) {
        std::memcpy(bloque.data(), resto_.data() + inicio + b * bytesBloque, bytesBloque);
        niveles.push_back(NivelDePico(bloque.data(), bloque.size()));
    }
    resto_.erase(resto_.begin(),
                 resto_.begin() + static_cast<std::ptrdiff_t>(inicio + completos * bytesBloque));
    return niveles;
}

int FusionLecturas::lectura(int nivel, bool puedeEnviar, Reloj::time_point ahora) {
    if (retenido_ >= 0 && ahora - desde_ > vigencia_)
        retenido_ = -1;
    if (!puedeEnviar) {
        if (nivel > retenido_) {
            retenido_ = nivel;
            desde_ = ahora;
        }
        return -1;
    }
    const int n = std::max(nivel, retenido_);
    retenido_ = -1;
    return n;
}

} // namespace quimbal::sonido
