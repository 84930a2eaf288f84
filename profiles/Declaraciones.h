#pragma once
// The profile record, the 21-slot profile table and the state that the
// program's modules share. Like the rest of the program's shared state these
// are plain module-level variables, read and written directly by slot index.
#include "profiles/TextoFijo.h"

#include <array>
#include <cstdint>

namespace quimbal {

constexpr int kMaxUsuarios = 21;

// Defaults of a new profile.
inline constexpr const char* kNombreGeneral = "General";
inline constexpr const char* kAccionPorDefecto = "Click izquierdo";
constexpr std::int16_t kModoSwitch = 1;
constexpr std::int16_t kModoSonido = 2;
constexpr std::int16_t kUmbralPorDefecto = 5;
constexpr std::int16_t kRetrasoPorDefecto = 400;

struct Usuario {
    TextoFijo Nombre;
    TextoFijo Accion1;
    TextoFijo Accion2;
    TextoFijo Letra1;
    TextoFijo Letra2;
    std::int16_t Modo = 0;
    std::int16_t Umbral = 0;
    std::int16_t Retraso = 0;

    // A new profile under the given name, with the values of "General".
    static Usuario Nuevo(const QString& nombre);
    bool operator==(const Usuario&) const = default;
};

struct TipoConfigInicio {
    std::uint8_t Puerto = 0;
    TextoFijo NombreUsuario;
    bool operator==(const TipoConfigInicio&) const = default;
};

// Profiles in use occupy slots 0..n-1, n being the entry count of the profile
// list; no other counter exists.
extern std::array<Usuario, kMaxUsuarios> Usuarios;
extern std::int16_t UsuarioActual;
extern TipoConfigInicio ConfigInicio;

extern std::int16_t PuertoSwitch;
extern bool ModoTest;
extern bool AgregandoUsuario;
extern bool PreguntandoSalida;
extern std::int16_t ArchivoUsuarios;
extern std::int16_t ArchivoConfig;
extern QString UltimoUsuario;

// The profile in use.
Usuario& UsuarioEnUso();

// Back to the state before the main window loads (used when a window is
// created anew, and by tests).
void ReiniciarDeclaraciones();

} // namespace quimbal
