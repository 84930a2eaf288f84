#pragma once
// The profile record and the settings record, as the data files hold them.
#include "profiles/TextoFijo.h"

#include <cstdint>

namespace quimbal {

// Defaults of a new profile.
inline constexpr const char* kNombreGeneral = "General";
inline constexpr const char* kAccionPorDefecto = "Click izquierdo";
constexpr std::int16_t kModoSwitch = 1;
constexpr std::int16_t kModoSonido = 2;
constexpr std::int16_t kUmbralPorDefecto = 5;
constexpr std::int16_t kRetrasoPorDefecto = 400;

struct Usuario {
    TextoFijo Nombre;
    TextoFijo Accion1; // display text of the catalogue entry of input 1
    TextoFijo Accion2; // ... of switch 2
    TextoFijo Letra1;  // letter box of input 1
    TextoFijo Letra2;
    std::int16_t Modo = 0;    // 1 switches, 2 sound
    std::int16_t Umbral = 0;  // sound threshold step 1..10
    std::int16_t Retraso = 0; // re-arm delay after a sound, ms

    // A new profile under the given name, with the values of "General".
    static Usuario Nuevo(const QString& nombre) {
        Usuario u;
        u.Nombre = nombre;
        u.Accion1 = QString::fromLatin1(kAccionPorDefecto);
        u.Accion2 = QString::fromLatin1(kAccionPorDefecto);
        u.Modo = kModoSwitch;
        u.Umbral = kUmbralPorDefecto;
        u.Retraso = kRetrasoPorDefecto;
        return u;
    }
    bool operator==(const Usuario&) const = default;
};

// The settings that survive a restart: the serial port (0 none, 1..4) and
// the name of the profile selected last.
struct TipoConfigInicio {
    std::uint8_t Puerto = 0;
    TextoFijo NombreUsuario;
    bool operator==(const TipoConfigInicio&) const = default;
};

} // namespace quimbal
