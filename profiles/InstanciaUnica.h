#pragma once
// One running copy of the program per folder: the data files beside the
// program are written by one copy only. The first copy takes a lock file in
// the folder (quimbal.lck) and keeps it until it ends; a lock left behind by
// a copy that no longer runs is taken over.
#include <QString>

namespace quimbal {

enum class Instancia {
    Unica,        // the lock is ours
    OtraEnMarcha, // another running copy holds it
    SinBloqueo,   // the folder does not allow the lock file: the data files
                  // cannot be written there either, so no copy writes them
};

// Takes the lock in `carpeta`, kept until LiberarInstancia.
Instancia TomarInstancia(const QString& carpeta);
void LiberarInstancia();

} // namespace quimbal
