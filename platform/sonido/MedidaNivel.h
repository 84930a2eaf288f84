#pragma once
// The level of a peak measured by the sound server, the cutting of the
// server's stream of peaks into readings, and the merging of readings for a
// window that falls behind. Pure code, no sound server involved.
#include <chrono>
#include <cstddef>
#include <vector>

namespace quimbal::sonido {

// Full scale of a reading.
constexpr int kNivelMaximo = 128;

// A peak measured by the sound server, as a float sample (1.0 = full scale),
// on the 0..128 scale, rounded to the nearest step: the server turns a 16-bit
// sample s into s / 32768, so the step is the 16-bit peak / 256 rounded (128
// is the first step, -32768 is 128). The sign is ignored, anything beyond full scale is
// 128 and a value that is not a number is silence.
int NivelDeMuestraFlotante(float pico);

// Cuts the server's stream of peaks (native-endian floats, one per 20 ms,
// arriving in pieces of any size, even split inside a sample) into readings.
// When more than `maxPendientes` complete peaks arrive at once (the reader
// fell behind), only the newest `maxPendientes` are measured: old sound is
// dropped, never queued.
class LectorPicos {
public:
    explicit LectorPicos(int maxPendientes);
    std::vector<int> agregar(const char* datos, std::size_t bytes);
    // Forgets a partial peak: the next byte starts a new one (a new stream).
    void reiniciar() { enResto_ = 0; }
    // Peaks dropped so far because they were stale.
    long long descartados() const { return descartados_; }

private:
    int maxPendientes_;
    unsigned char resto_[sizeof(float)] = {};
    std::size_t enResto_ = 0;
    long long descartados_ = 0;
};

// Whether a reading is worth sending: not a quiet one (at most `quieto`)
// right after a quiet one was sent, which says nothing new.
class FiltroQuietud {
public:
    explicit FiltroQuietud(int quieto) : quieto_(quieto) {}
    bool enviar(int nivel) {
        const bool repetida = nivel <= quieto_ && ultimo_ >= 0 && ultimo_ <= quieto_;
        if (!repetida)
            ultimo_ = nivel;
        return !repetida;
    }
    // The next reading is sent whatever it is.
    void reiniciar() { ultimo_ = -1; }

private:
    int quieto_;
    int ultimo_ = -1;
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
