#include "profiles/EscrituraSegura.h"

#include "platform/Disco.h"

#include <QFile>
#include <QFileInfo>

namespace quimbal {

namespace {
OperacionesDisco*& fijadas() {
    static OperacionesDisco* o = nullptr;
    return o;
}
} // namespace

bool OperacionesDisco::crear(QFile& archivo) {
    return archivo.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

bool OperacionesDisco::escribir(QFile& archivo, const QByteArray& datos) {
    return archivo.write(datos) == datos.size();
}

bool OperacionesDisco::sincronizar(QFile& archivo) {
    return SincronizarArchivo(archivo);
}

bool OperacionesDisco::renombrar(const QString& origen, const QString& destino) {
    return ReemplazarPorRenombre(origen, destino);
}

bool OperacionesDisco::sincronizarCarpeta(const QString& carpeta) {
    return SincronizarCarpeta(carpeta);
}

OperacionesDisco& operacionesDisco() {
    static OperacionesDisco reales;
    return fijadas() ? *fijadas() : reales;
}

void FijarOperacionesDisco(OperacionesDisco* operaciones) {
    fijadas() = operaciones;
}

QString RutaReal(const QString& ruta) {
    QFileInfo info(ruta);
    for (int saltos = 0; info.isSymLink() && saltos < 16; ++saltos)
        info.setFile(info.symLinkTarget());
    return info.isSymLink() ? ruta : info.absoluteFilePath();
}

QString RutaTemporal(const QString& ruta) {
    return ruta + QStringLiteral(".nuevo");
}

bool ReemplazarArchivo(const QString& ruta, const QByteArray& datos) {
    OperacionesDisco& op = operacionesDisco();
    const QString temporal = RutaTemporal(ruta);
    // A directory or other non-file in the temporary's place is not ours to remove.
    const QFileInfo info(temporal);
    if (info.exists() && !info.isFile() && !info.isSymLink())
        return false;
    QFile::remove(temporal); // left over from an interrupted earlier save
    QFile archivo(temporal);
    const bool creado = op.crear(archivo);
    // The new file keeps the access rights the old one had.
    if (creado && QFile::exists(ruta))
        archivo.setPermissions(QFile::permissions(ruta));
    const bool escrito = creado && op.escribir(archivo, datos) && op.sincronizar(archivo);
    archivo.close();
    const bool completo = escrito && archivo.error() == QFileDevice::NoError;
    if (!completo || !op.renombrar(temporal, ruta)) {
        QFile::remove(temporal);
        return false;
    }
    // The new name is in place; making the folder's entry durable is the
    // last step, and a failure there does not undo the replacement.
    op.sincronizarCarpeta(QFileInfo(ruta).absolutePath());
    return true;
}

} // namespace quimbal
