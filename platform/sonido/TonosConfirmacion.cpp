#include "platform/sonido/TonosConfirmacion.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quimbal::sonido {

namespace {
// Half of full scale: clearly heard over speech, never clipped on mixing
// with a second sound at the same moment.
constexpr double kAmplitud = 0.5;
// Each tone fades in and out over this long: a tone that starts or stops at
// full level clicks.
constexpr double kRampaSegundos = 0.004;

int muestras(double segundos) {
    return static_cast<int>(std::lround(segundos * kMuestrasPorSegundo));
}

// `armonicos`: the odd harmonics added with amplitude 1/n (1: a pure sine).
void anadirTono(std::vector<double>& destino, double hz, double segundos, int armonicos) {
    const int n = muestras(segundos);
    const int rampa = muestras(kRampaSegundos);
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kMuestrasPorSegundo;
        double v = 0;
        for (int k = 1; k <= 2 * armonicos - 1; k += 2)
            v += std::sin(2 * std::numbers::pi * hz * k * t) / k;
        const int borde = std::min(i, n - 1 - i);
        if (borde < rampa)
            v *= 0.5 - 0.5 * std::cos(std::numbers::pi * borde / rampa);
        destino.push_back(v);
    }
}

// Scaled so that the loudest sample is kAmplitud of full scale, whatever the
// harmonics add up to.
std::vector<std::int16_t> aEnteros(const std::vector<double>& onda) {
    double pico = 0;
    for (double v : onda)
        pico = std::max(pico, std::abs(v));
    const double escala = pico > 0 ? kAmplitud * 32767 / pico : 0;
    std::vector<std::int16_t> r;
    r.reserve(onda.size());
    for (double v : onda)
        r.push_back(static_cast<std::int16_t>(std::lround(v * escala)));
    return r;
}
} // namespace

std::vector<std::int16_t> TonoAceptada() {
    std::vector<double> onda;
    anadirTono(onda, 880, 0.030, 1);
    anadirTono(onda, 1320, 0.030, 1);
    return aEnteros(onda);
}

std::vector<std::int16_t> TonoIgnorada() {
    std::vector<double> onda;
    anadirTono(onda, 220, 0.120, 4);
    return aEnteros(onda);
}

} // namespace quimbal::sonido
