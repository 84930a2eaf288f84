#pragma once
// The two data files of a folder: the profile file usuarios.dat (one 106-byte
// record per profile, in table order) and the settings file quimbal.dat (one
// 21-byte record: port and last profile). Both are opened at load and held
// open until the complete save at exit closes them.
//
// Beside them, ajustes.json holds what the records have no room for (the
// timing settings of each profile): read with the profiles, written at the
// same moments, under the same lock.
//
// Nothing here asks or shows anything: every operation says what went wrong
// and the window decides what to tell the user. A file that cannot be written
// (a read-only folder, a file without write access, a directory in its place)
// is loaded as far as it can be and from then on never written, so whatever
// is there stays as it is. A data file that is a symbolic link is followed,
// for reading, appending and replacing alike: the link stays and the file it
// names is the data file.
#include "profiles/Ajustes.h"
#include "profiles/Usuario.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

namespace quimbal {

class Perfiles;

class ArchivosDatos {
public:
    explicit ArchivosDatos(QString carpeta);

    QString RutaArchivoUsuarios() const; // <carpeta>/usuarios.dat
    QString RutaArchivoConfig() const;   // <carpeta>/quimbal.dat
    const QString& carpeta() const { return carpeta_; }

    enum class Problema {
        Ninguno,
        SoloLectura, // read, but it cannot be written
        NoSeAbre,    // neither read nor written: the defaults stand in
        NoSeEscribe, // the default record for an empty file could not be written
        SinBloqueo,  // the folder took no lock file: nothing is written there
    };
    struct Carga {
        Problema problema = Problema::Ninguno;
        qsizetype registros = 0;   // whole records in the profile file
        bool sobran = false;       // more records than the table holds (kept, unseen)
        int puertoDesconocido = 0; // a stored port number above COM4 (read as 0)
    };

    // Opens the profile file (creating it when missing) and loads its first
    // 21 records into the table. A file shorter than one record gets the
    // default profile "General" as record 1. Records beyond the 21st are kept
    // and written back by the complete save.
    Carga CargarUsuarios(Perfiles& perfiles);
    // Opens the settings file (creating it when missing) and reads the
    // record into perfiles.ConfigInicio; a file shorter than one record gets
    // the default record (port 1, "General"). A port above 4 reads as 0.
    Carga CargarConfiguracion(Perfiles& perfiles);

    // Writes a new profile as the next record of the open profile file
    // (behind the last whole record, over a trailing part of one) and makes
    // it durable. False when it could not be written; true also when this
    // run does not write the file at all.
    bool AgregarUsuarioAlArchivo(const Usuario& u);

    // The complete save at exit: closes both files and replaces each whole,
    // the profile file by the table plus the records kept beyond the 21st,
    // the settings file by the current profile's name and the port in use.
    // Each file is either replaced whole or left as it was; the settings file
    // likewise, with the entries of the profiles that exist. Gives the files
    // that could be written but were not (empty when all went well).
    QStringList GuardarTodo(Perfiles& perfiles);

    // Closes both files without writing.
    void CerrarArchivos();

    // The settings file: read (after the profiles), and kept for the save.
    void CargarAjustes();
    Ajustes& ajustes() { return ajustes_; }
    // The names of the profile records kept beyond the 21st: their entries
    // in the settings file are kept too.
    QStringList NombresConservados() const;

    // The folder could not take the lock file for a reason other than
    // another running copy (a full disk, a read-only folder): this run loads
    // the files but writes neither. Call before loading.
    void FijarSinBloqueo() { sinBloqueo_ = true; }

    // Whether this run writes each file.
    bool SeGuardanUsuarios() const { return usuarios_.escribible; }
    bool SeGuardaConfiguracion() const { return config_.escribible; }

private:
    struct Abierto {
        QFile archivo;
        bool escribible = false;
        qint64 posicion = 0; // where the next record is appended
    };
    Problema abrir(Abierto& a, const QString& ruta, QByteArray& datos);

    QString carpeta_;
    Ajustes ajustes_{carpeta_};
    Abierto usuarios_;
    Abierto config_;
    QByteArray sobrantes_; // profile records beyond the 21st
    bool sinBloqueo_ = false;
    bool cargados_ = false; // the settings file was read: it may be written
};

} // namespace quimbal
