#pragma once
// Level of a block of 16-bit samples, and the cutting of a captured byte
// stream into blocks. Pure code, no audio device involved.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quimbal::sonido {

// Full scale of a reading.
constexpr int kNivelMaximo = 128;

// The peak absolute sample of the block on the 0..128 scale, rounded to the
// nearest step: 0 for silence or an empty block, 128 for a full-scale sample
// of either sign.
int NivelDePico(const std::int16_t* muestras, std::size_t cuantas);

// Cuts a stream of native-endian 16-bit mono samples, arriving in pieces of
// any size (even odd byte counts), into blocks of a fixed number of samples,
// and gives the level of each complete block. When more than `maxPendientes`
// complete blocks arrive at once (the reader fell behind), only the newest
// `maxPendientes` are measured: old sound is dropped, never queued.
class DivisorBloques {
public:
    DivisorBloques(int muestrasPorBloque, int maxPendientes);
    std::vector<int> agregar(const char* datos, std::size_t bytes);
    // Blocks dropped so far because they were stale.
    long long descartados() const { return descartados_; }
    int muestrasPorBloque() const { return porBloque_; }

private:
    int porBloque_;
    int maxPendientes_;
    std::vector<char> resto_;
    long long descartados_ = 0;
};

// Readings on their way to a window that is not keeping up: while it may not
// take more, readings are held back and only the loudest is kept, so that a
// blow is not lost; it goes with the next reading the window may take, unless
// it is older than `vigencia` by then (a stale blow is dropped, not acted on
// late).
class FusionLecturas {
public:
    using Reloj = std::chrono::steady_clock;
    explicit FusionLecturas(std::chrono::milliseconds vigencia) : vigencia_(vigencia) {}
    // The level to post now, or -1 to post nothing.
    int lectura(int nivel, bool puedeEnviar, Reloj::time_point ahora);

private:
    std::chrono::milliseconds vigencia_;
    int retenido_ = -1;
    Reloj::time_point desde_{};
};

} // namespace quimbal::sonido
