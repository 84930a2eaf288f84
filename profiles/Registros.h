#pragma once
// The byte form of the two records: a profile takes 106 bytes, the settings
// 21. Text fields are 20 Windows-1252 bytes padded with spaces; numbers are
// little-endian 16-bit two's complement; the port is one unsigned byte.
#include "profiles/Usuario.h"

#include <QByteArray>
#include <QList>

namespace quimbal {

constexpr int kLargoRegistroUsuario = 106;
constexpr int kLargoRegistroConfig = 21;
// Profiles the table holds.
constexpr int kMaxUsuarios = 21;

QByteArray RegistroDeUsuario(const Usuario& u);
// `datos` holds at least kLargoRegistroUsuario bytes.
Usuario UsuarioDeRegistro(const char* datos);

QByteArray RegistroDeConfig(const TipoConfigInicio& c);
// `datos` holds at least kLargoRegistroConfig bytes.
TipoConfigInicio ConfigDeRegistro(const char* datos);

// What a profile file holds: its whole records (a trailing part of a record
// is ignored), the first 21 as profiles for the table and every further one
// kept as bytes, so that the next complete save writes them back.
struct ContenidoUsuarios {
    QList<Usuario> usuarios; // at most kMaxUsuarios (21)
    QByteArray sobrantes;    // records 22 and on, whole
    qsizetype registros = 0; // whole records in the file
};
ContenidoUsuarios LeerContenidoUsuarios(const QByteArray& archivo);

// The settings a file gives: the default record when it holds less than one
// record; a port number above 4 stands for no port (0).
TipoConfigInicio LeerContenidoConfig(const QByteArray& archivo);
TipoConfigInicio ConfigPorDefecto();

} // namespace quimbal
