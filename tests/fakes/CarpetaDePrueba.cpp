#include "tests/fakes/CarpetaDePrueba.h"

#include "platform/Servicios.h"
#include "profiles/Archivos.h"
#include "profiles/Declaraciones.h"
#include "profiles/EscrituraSegura.h"

#include <QFile>

namespace quimbal {

CarpetaDePrueba::CarpetaDePrueba() {
    ReiniciarArchivos();
    ReiniciarDeclaraciones();
    FijarOperacionesDisco(nullptr);
    FijarCarpetaPrograma(dir_.path());
}

CarpetaDePrueba::~CarpetaDePrueba() {
    ReiniciarArchivos();
    ReiniciarDeclaraciones();
    FijarOperacionesDisco(nullptr);
    FijarCarpetaPrograma(QString());
}

QByteArray CarpetaDePrueba::leer(const QString& nombre) const {
    QFile f(ruta(nombre));
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<no existe>");
    return f.readAll();
}

void CarpetaDePrueba::escribir(const QString& nombre, const QByteArray& datos) const {
    QFile f(ruta(nombre));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(datos);
}

} // namespace quimbal
