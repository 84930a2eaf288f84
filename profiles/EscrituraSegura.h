#pragma once
// Replacing a data file without ever leaving it half written: the new content
// goes whole into a file beside the old one, reaches the disk, and then takes
// the old one's place in one step. After any interruption the folder holds the
// old file or the new one, never a missing or partial one.
#include <QByteArray>
#include <QString>

class QFile;

namespace quimbal {

// The disk operations the replacement is made of. Tests put in their own to
// make any step fail.
class OperacionesDisco {
public:
    virtual ~OperacionesDisco() = default;
    virtual bool crear(QFile& archivo);
    virtual bool escribir(QFile& archivo, const QByteArray& datos);
    virtual bool sincronizar(QFile& archivo);
    virtual bool renombrar(const QString& origen, const QString& destino);
    virtual bool sincronizarCarpeta(const QString& carpeta);
};

OperacionesDisco& operacionesDisco();
// nullptr puts the real operations back.
void FijarOperacionesDisco(OperacionesDisco* operaciones);

// The file a data file's name stands for: itself, or the file its symbolic
// link names (at the end of a chain of links, existing or not), so that
// replacing it keeps the link.
QString RutaReal(const QString& ruta);

// The name of the file beside `ruta` that receives the new content.
QString RutaTemporal(const QString& ruta);

// Writes `datos` as the whole new content of `ruta`. On failure the file at
// `ruta` is untouched and no temporary file is left behind.
bool ReemplazarArchivo(const QString& ruta, const QByteArray& datos);

} // namespace quimbal
