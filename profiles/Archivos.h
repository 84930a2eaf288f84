#pragma once
// The two data files in the program's folder: the profile file usuarios.dat
// (one 106-byte record per profile, in table order) and the settings file
// quimbal.dat (one 21-byte record: port and last profile). Both are opened at
// load and held open (a QFile each, read and write) until the complete save
// at exit closes them; ArchivoUsuarios and ArchivoConfig hold their file
// descriptors while they are open, 0 otherwise.
//
// When a file cannot be written (a read-only folder, a file without write
// access, a directory in its place) the user is asked once whether to go on
// without saving; from then on that file is never written, so whatever is
// there stays as it is.
#include "profiles/Declaraciones.h"

#include <QString>

namespace quimbal {

class Lista;

QString RutaArchivoUsuarios(); // CarpetaPrograma() + "/usuarios.dat"
QString RutaArchivoConfig();   // CarpetaPrograma() + "/quimbal.dat"

// Opens the profile file (creating it when missing) and loads it: record k
// into slot k - 1 and its stored 20-character name as entry k - 1 of
// cboUsuario, which is emptied first. A file shorter than one record is
// treated as empty: the default profile "General" is written as record 1 and
// loaded. Records beyond the 21st are kept and written back by the next
// complete save; the user is told. Selects no entry: the caller selects entry
// 0 next. Shows its own messages; returns false when the program must not go
// on (the user chose to end it rather than run without saving): the list then
// holds no entry and no file has been written.
bool CargarUsuarios(Lista& cboUsuario);

// Opens the settings file (creating it when missing) and reads ConfigInicio;
// a file shorter than one record gets the default record (port 1, "General").
// A port above 4 reads as 0 (no port). Shows its own messages; returns false
// when the program must not go on.
bool CargarConfiguracion();

// Writes a new profile as the next record of the open profile file (behind
// the last whole record, over a trailing part of one) and makes it durable.
// Returns false when the profile is not in the file; unless the user already
// chose to run without saving, a message says so (the profile stays in the
// table and reaches the file with the complete save).
bool AgregarUsuarioAlArchivo(const Usuario& u);

// The complete save at exit: closes both files and replaces each whole, the
// profile file by slots 0 .. n - 1 (n = the entry count of cboUsuario) plus
// the records kept beyond the 21st (an empty list leaves it as it is), the
// settings file by the selected entry's trimmed name and `puerto`. Each file is either replaced whole or left as it
// was. Returns false when a file that could be written was not; a message
// then says which one kept its earlier content.
bool GuardarTodo(const Lista& cboUsuario, std::int16_t puerto);

// Closes both files without writing (unload other than through the save).
void CerrarArchivos();

// Whether this run writes each file (false after the user chose to go on
// without saving it).
bool SeGuardanUsuarios();
bool SeGuardaConfiguracion();

// Back to the state before the load (tests).
void ReiniciarArchivos();

} // namespace quimbal
