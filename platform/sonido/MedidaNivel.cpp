#include "platform/sonido/MedidaNivel.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace quimbal::sonido {

int NivelDeMuestraFlotante(float pico) {
    if (std::isnan(pico))
        return 0;
    const float a = std::fabs(pico);
    if (a >= 1.0f)
        return kNivelMaximo;
    // Exact for every 16-bit sample: a * 128 is a multiple of 1/256.
    return static_cast<int>(std::floor(a * kNivelMaximo + 0.5f));
}

LectorPicos::LectorPicos(int maxPendientes) : maxPendientes_(std::max(1, maxPendientes)) {}

std::vector<int> LectorPicos::agregar(const char* datos, std::size_t bytes) {
    std::vector<int> niveles;
    if (!datos)
        return niveles;
    constexpr std::size_t t = sizeof(float);
    // A peak split by the previous piece is completed first.
    std::vector<float> picos;
    if (enResto_ > 0) {
        const std::size_t faltan = std::min(t - enResto_, bytes);
        std::memcpy(resto_ + enResto_, datos, faltan);
        enResto_ += faltan;
        datos += faltan;
        bytes -= faltan;
        if (enResto_ < t)
            return niveles;
        float f;
        std::memcpy(&f, resto_, t);
        picos.push_back(f);
        enResto_ = 0;
    }
    const std::size_t enteros = bytes / t;
    for (std::size_t i = 0; i < enteros; ++i) {
        float f;
        std::memcpy(&f, datos + i * t, t);
        picos.push_back(f);
    }
    enResto_ = bytes - enteros * t;
    std::memcpy(resto_, datos + enteros * t, enResto_);

    std::size_t desde = 0;
    if (picos.size() > static_cast<std::size_t>(maxPendientes_)) {
        desde = picos.size() - static_cast<std::size_t>(maxPendientes_);
        descartados_ += static_cast<long long>(desde);
    }
    for (std::size_t i = desde; i < picos.size(); ++i)
        niveles.push_back(NivelDeMuestraFlotante(picos[i]));
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
