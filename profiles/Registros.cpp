#include "profiles/Registros.h"

#include <algorithm>

namespace quimbal {

namespace {
constexpr int kPuertoMaximo = 4;

void agregarEntero(QByteArray& b, std::int16_t v) {
    const auto u = static_cast<std::uint16_t>(v);
    b.append(static_cast<char>(u & 0xFF));
    b.append(static_cast<char>(u >> 8));
}

std::int16_t leerEntero(const char* d) {
    const auto bajo = static_cast<unsigned char>(d[0]);
    const auto alto = static_cast<unsigned char>(d[1]);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(bajo | (alto << 8)));
}
} // namespace

QByteArray RegistroDeUsuario(const Usuario& u) {
    QByteArray b;
    b.reserve(kLargoRegistroUsuario);
    for (const TextoFijo* t : {&u.Nombre, &u.Accion1, &u.Accion2, &u.Letra1, &u.Letra2})
        b.append(t->bytes());
    agregarEntero(b, u.Modo);
    agregarEntero(b, u.Umbral);
    agregarEntero(b, u.Retraso);
    return b;
}

Usuario UsuarioDeRegistro(const char* d) {
    Usuario u;
    u.Nombre = TextoFijo::desdeBytes(d);
    u.Accion1 = TextoFijo::desdeBytes(d + 20);
    u.Accion2 = TextoFijo::desdeBytes(d + 40);
    u.Letra1 = TextoFijo::desdeBytes(d + 60);
    u.Letra2 = TextoFijo::desdeBytes(d + 80);
    u.Modo = leerEntero(d + 100);
    u.Umbral = leerEntero(d + 102);
    u.Retraso = leerEntero(d + 104);
    return u;
}

QByteArray RegistroDeConfig(const TipoConfigInicio& c) {
    QByteArray b;
    b.reserve(kLargoRegistroConfig);
    b.append(static_cast<char>(c.Puerto));
    b.append(c.NombreUsuario.bytes());
    return b;
}

TipoConfigInicio ConfigDeRegistro(const char* d) {
    TipoConfigInicio c;
    c.Puerto = static_cast<std::uint8_t>(d[0]);
    c.NombreUsuario = TextoFijo::desdeBytes(d + 1);
    return c;
}

ContenidoUsuarios LeerContenidoUsuarios(const QByteArray& archivo) {
    ContenidoUsuarios c;
    c.registros = archivo.size() / kLargoRegistroUsuario;
    const qsizetype enTabla = std::min<qsizetype>(c.registros, kMaxUsuarios);
    for (qsizetype k = 0; k < enTabla; ++k)
        c.usuarios.append(UsuarioDeRegistro(archivo.constData() + k * kLargoRegistroUsuario));
    if (c.registros > enTabla)
        c.sobrantes = archivo.mid(enTabla * kLargoRegistroUsuario,
                                  (c.registros - enTabla) * kLargoRegistroUsuario);
    return c;
}

TipoConfigInicio ConfigPorDefecto() {
    TipoConfigInicio c;
    c.Puerto = 1;
    c.NombreUsuario = QString::fromLatin1(kNombreGeneral);
    return c;
}

TipoConfigInicio LeerContenidoConfig(const QByteArray& archivo) {
    if (archivo.size() < kLargoRegistroConfig)
        return ConfigPorDefecto();
    TipoConfigInicio c = ConfigDeRegistro(archivo.constData());
    if (c.Puerto > kPuertoMaximo)
        c.Puerto = 0;
    return c;
}

} // namespace quimbal
