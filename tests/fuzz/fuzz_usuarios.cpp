// Any bytes as the profile file and as the settings file, through the record
// readers and writers alone: nothing crashes or reads past the input, every
// whole profile record read and written again gives back its 106 bytes, the
// records beyond the table are kept whole, and the settings record comes back
// as it was except for a port above 4, which reads as no port.
#include "profiles/Registros.h"

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace quimbal;

namespace {
void exigir(bool condicion, const char* que) {
    if (!condicion) {
        std::fprintf(stderr, "falla: %s\n", que);
        std::abort();
    }
}

// What the window shows and compares: never a space at either end.
void exigirRecortado(const TextoFijo& t) {
    exigir(t.texto().size() == kLargoTexto, "20 caracteres");
    const QString r = t.recortado();
    exigir(r.isEmpty() || (r.front() != QLatin1Char(' ') && r.back() != QLatin1Char(' ')),
           "texto recortado sin espacios en los extremos");
}

void exigirUsuario(const Usuario& u, const char* registro) {
    exigir(RegistroDeUsuario(u) == QByteArray(registro, kLargoRegistroUsuario),
           "el registro de usuario vuelve igual byte a byte");
    for (const TextoFijo* t : {&u.Nombre, &u.Accion1, &u.Accion2, &u.Letra1, &u.Letra2})
        exigirRecortado(*t);
}

void probarUsuarios(const QByteArray& archivo) {
    const ContenidoUsuarios c = LeerContenidoUsuarios(archivo);
    const qsizetype registros = archivo.size() / kLargoRegistroUsuario;
    exigir(c.registros == registros, "registros enteros del archivo");
    exigir(c.usuarios.size() == std::min<qsizetype>(registros, kMaxUsuarios),
           "usuarios en la tabla");
    for (qsizetype k = 0; k < c.usuarios.size(); ++k)
        exigirUsuario(c.usuarios[k], archivo.constData() + k * kLargoRegistroUsuario);
    const QByteArray enteros = archivo.left(registros * kLargoRegistroUsuario);
    exigir(c.sobrantes == enteros.mid(qsizetype{kMaxUsuarios} * kLargoRegistroUsuario),
           "los registros 22 y siguientes, enteros y nada más");
    // The last 106 bytes, ending where the input ends: a reader that looked
    // one byte further would be caught whatever the input's length.
    if (archivo.size() >= kLargoRegistroUsuario) {
        const char* ultimo = archivo.constData() + archivo.size() - kLargoRegistroUsuario;
        exigirUsuario(UsuarioDeRegistro(ultimo), ultimo);
    }
}

void probarConfig(const QByteArray& archivo) {
    const TipoConfigInicio c = LeerContenidoConfig(archivo);
    exigirRecortado(c.NombreUsuario);
    exigir(c.Puerto <= 4, "puerto de 0 a 4");
    const QByteArray registro = RegistroDeConfig(c);
    if (archivo.size() < kLargoRegistroConfig) {
        exigir(registro == QByteArray("\x01General             ", kLargoRegistroConfig),
               "registro por defecto: COM1 y General");
        return;
    }
    const auto puerto = static_cast<std::uint8_t>(archivo[0]);
    exigir(registro.mid(1) == archivo.mid(1, kLargoTexto), "el nombre vuelve igual byte a byte");
    exigir(static_cast<std::uint8_t>(registro[0]) == (puerto <= 4 ? puerto : 0),
           "el puerto vuelve igual, o 0 si pasa de 4");
    const char* ultimo = archivo.constData() + archivo.size() - kLargoRegistroConfig;
    exigir(RegistroDeConfig(ConfigDeRegistro(ultimo)) == QByteArray(ultimo, kLargoRegistroConfig),
           "el registro de configuración leído suelto vuelve igual");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t largo) {
    // The fuzzer's own buffer, not a copy: it is exactly as long as the input,
    // so that the address checks catch any read beyond it.
    const QByteArray archivo = QByteArray::fromRawData(reinterpret_cast<const char*>(datos),
                                                       static_cast<qsizetype>(largo));
    probarUsuarios(archivo);
    probarConfig(archivo);
    return 0;
}
