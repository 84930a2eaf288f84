#pragma once
// The few disk operations that the standard library and Qt leave to the
// operating system: pushing a file's data to the disk, and replacing a file by
// another in one step.
#include <QString>

class QFile;

namespace quimbal {

// Flushes the file's buffers and waits until its data is on the disk.
bool SincronizarArchivo(QFile& archivo);

// Makes the folder's list of names durable (after a rename in it). Where the
// system has no such operation it reports success.
bool SincronizarCarpeta(const QString& carpeta);

// Puts the file `origen` in the place of `destino` in one step, replacing it
// when it exists: a reader finds either the old file or the new one.
bool ReemplazarPorRenombre(const QString& origen, const QString& destino);

} // namespace quimbal
