#pragma once
// The timing settings of the inputs, one set per profile. Each is off at 0
// (false): with all of them off a switch acts once, at the moment it is
// pressed, and a sound acts as soon as it reaches the threshold.
#include <algorithm>

namespace quimbal {

struct AjustesMotor {
    int aceptacion_ms = 0;     // a press counts once the switch has stayed closed this long
    int ignorar_ms = 0;        // presses beginning this soon after an accepted one do nothing
    int larga_ms = 0;          // switch 1 held this long performs action 2 instead of 1
    int repetir_tras_ms = 0;   // a held switch repeats its action this long after it,
    int repetir_cada_ms = 0;   // then at this interval (0: the same as repetir_tras_ms)
    int pausa_ms = 0;          // both switches held together this long turn the pause on or off
    int soplo_minimo_ms = 0;   // a sound counts once it has stayed loud this long
    bool confirmacion = false; // each press is confirmed as accepted or ignored

    // Every value taken into its range.
    AjustesMotor acotados() const;
    bool operator==(const AjustesMotor&) const = default;
};

// The numeric settings: their key in the settings file and their range 0..maximo.
struct CampoAjuste {
    const char* clave;
    int AjustesMotor::*miembro;
    int maximo;
};
inline constexpr CampoAjuste kCamposAjuste[] = {
    {"aceptacion_ms", &AjustesMotor::aceptacion_ms, 5000},
    {"ignorar_ms", &AjustesMotor::ignorar_ms, 10000},
    {"larga_ms", &AjustesMotor::larga_ms, 10000},
    {"repetir_tras_ms", &AjustesMotor::repetir_tras_ms, 10000},
    {"repetir_cada_ms", &AjustesMotor::repetir_cada_ms, 10000},
    {"pausa_ms", &AjustesMotor::pausa_ms, 20000},
    {"soplo_minimo_ms", &AjustesMotor::soplo_minimo_ms, 2000},
};
inline constexpr const char* kClaveConfirmacion = "confirmacion";

inline AjustesMotor AjustesMotor::acotados() const {
    AjustesMotor a = *this;
    for (const CampoAjuste& c : kCamposAjuste)
        a.*c.miembro = std::clamp(a.*c.miembro, 0, c.maximo);
    return a;
}

} // namespace quimbal
