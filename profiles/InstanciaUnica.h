#pragma once
// One running copy of the program per folder: the data files beside the
// program are written by one copy only, even when two users share a portable
// folder. The first copy locks a file in the folder (quimbal.lck) until it
// ends; the kernel lets go of the lock when the copy ends however it ends, so
// a file left behind by a copy that crashed never keeps a later one out.
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
