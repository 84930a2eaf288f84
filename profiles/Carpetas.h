#pragma once
// Where the program's data lives. A copy of the program keeps its data beside
// itself, as a portable copy on a USB stick does, when its folder already
// holds usuarios.dat or may be written and is not the system's program
// folder; otherwise the data lives in the user's own configuration folder,
// $XDG_CONFIG_HOME/quimbal (by default ~/.config/quimbal), created private to
// the user. The lock file and the comN port entries live with the data.
#include <QString>

namespace quimbal {

// `carpetaPrograma`: the folder of the running program; `carpetaInstalada`:
// where an installed copy lives (/usr/bin), never used for data.
QString CarpetaDeDatos(const QString& carpetaPrograma, const QString& carpetaInstalada);

// $XDG_CONFIG_HOME, or ~/.config when it is unset or not absolute (the home
// folder from the user database when $HOME is unset).
QString CarpetaConfiguracion();

// The user's own data folder, $XDG_CONFIG_HOME/quimbal, created (mode 0700)
// when missing.
QString CarpetaDeDatosDelUsuario();

} // namespace quimbal
