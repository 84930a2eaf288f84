#include "profiles/Declaraciones.h"

namespace quimbal {

std::array<Usuario, kMaxUsuarios> Usuarios;
std::int16_t UsuarioActual = 0;
TipoConfigInicio ConfigInicio;
std::int16_t PuertoSwitch = 0;
bool ModoTest = false;
bool AgregandoUsuario = false;
bool PreguntandoSalida = false;
std::int16_t ArchivoUsuarios = 0;
std::int16_t ArchivoConfig = 0;
QString UltimoUsuario;

Usuario Usuario::Nuevo(const QString& nombre) {
    Usuario u;
    u.Nombre = nombre;
    u.Accion1 = QString::fromLatin1(kAccionPorDefecto);
    u.Accion2 = QString::fromLatin1(kAccionPorDefecto);
    u.Letra1 = QString();
    u.Letra2 = QString();
    u.Modo = kModoSwitch;
    u.Umbral = kUmbralPorDefecto;
    u.Retraso = kRetrasoPorDefecto;
    return u;
}

Usuario& UsuarioEnUso() {
    const int i = (UsuarioActual >= 0 && UsuarioActual < kMaxUsuarios) ? UsuarioActual : 0;
    return Usuarios[static_cast<std::size_t>(i)];
}

void ReiniciarDeclaraciones() {
    Usuarios.fill(Usuario{});
    UsuarioActual = 0;
    ConfigInicio = TipoConfigInicio{};
    PuertoSwitch = 0;
    ModoTest = false;
    AgregandoUsuario = false;
    PreguntandoSalida = false;
    ArchivoUsuarios = 0;
    ArchivoConfig = 0;
    UltimoUsuario.clear();
}

} // namespace quimbal
