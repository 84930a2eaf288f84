#include "profiles/Archivos.h"

#include "platform/Controles.h"
#include "platform/Dialogos.h"
#include "platform/Servicios.h"
#include "profiles/EscrituraSegura.h"
#include "profiles/Registros.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace quimbal {

namespace {

// One data file held open for the program's run.
struct ArchivoAbierto {
    QFile archivo;
    bool escribible = false; // this run may write it
    qint64 posicion = 0;     // where the next record is appended
};

struct EstadoArchivos {
    ArchivoAbierto usuarios;
    ArchivoAbierto config;
    QByteArray sobrantes; // profile records beyond the 21st, written back at save
    bool sinGuardarAceptado = false;
};

EstadoArchivos& estado() {
    static EstadoArchivos e;
    return e;
}

enum class Apertura { Escritura, Lectura, Ninguna };

QString nativa(const QString& ruta) {
    return QDir::toNativeSeparators(ruta);
}

// Opens for reading and writing, creating a missing file; where the folder or
// the file does not allow writing, opens for reading only.
Apertura abrir(ArchivoAbierto& a, const QString& ruta, QByteArray& datos) {
    a.archivo.close();
    a.archivo.setFileName(ruta);
    const QFileInfo info(ruta);
    if (info.exists() && !info.isFile())
        return Apertura::Ninguna;
    Apertura r = Apertura::Ninguna;
    if (QFileInfo(info.absolutePath()).isWritable() &&
        a.archivo.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        r = Apertura::Escritura;
    else if (info.exists() && a.archivo.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        r = Apertura::Lectura;
    if (r == Apertura::Ninguna)
        return r;
    datos = a.archivo.readAll();
    if (a.archivo.error() != QFileDevice::NoError) {
        a.archivo.close();
        datos.clear();
        return Apertura::Ninguna;
    }
    return r;
}

// Asks once per run whether to go on without saving.
bool seguirSinGuardar(const QString& causa) {
    EstadoArchivos& e = estado();
    if (e.sinGuardarAceptado)
        return true;
    const QString texto =
        causa + QStringLiteral("\n\n¿Desea usar el programa sin guardar los cambios?");
    if (MsgBox(texto, vbYesNo + vbQuestion, QStringLiteral("Atención")) != vbYes)
        return false;
    e.sinGuardarAceptado = true;
    return true;
}

bool escribirEn(QFile& archivo, qint64 posicion, const QByteArray& datos) {
    OperacionesDisco& op = operacionesDisco();
    return archivo.isOpen() && archivo.seek(posicion) && op.escribir(archivo, datos) &&
           op.sincronizar(archivo);
}

std::int16_t numeroDe(const QFile& archivo) {
    return archivo.isOpen() ? static_cast<std::int16_t>(archivo.handle()) : 0;
}

QString noSeGuarda(const QString& que, const QString& ruta) {
    return QStringLiteral("No se puede guardar en el archivo de %1:\n%2").arg(que, nativa(ruta));
}

QString noSeAbre(const QString& que, const QString& ruta) {
    return QStringLiteral("No se puede abrir el archivo de %1:\n%2").arg(que, nativa(ruta));
}

} // namespace

QString RutaArchivoUsuarios() {
    return QDir(CarpetaPrograma()).filePath(QStringLiteral("usuarios.dat"));
}

QString RutaArchivoConfig() {
    return QDir(CarpetaPrograma()).filePath(QStringLiteral("quimbal.dat"));
}

bool CargarUsuarios(Lista& cboUsuario) {
    EstadoArchivos& e = estado();
    ArchivoAbierto& a = e.usuarios;
    const QString ruta = RutaArchivoUsuarios();
    const QString usuarios = QStringLiteral("usuarios");
    cboUsuario.Clear();
    e.sobrantes.clear();
    ArchivoUsuarios = 0;

    QByteArray datos;
    const Apertura ap = abrir(a, ruta, datos);
    a.escribible = ap == Apertura::Escritura;
    if (ap == Apertura::Lectura &&
        !seguirSinGuardar(noSeGuarda(usuarios, ruta) +
                          QStringLiteral("\n\nLos usuarios se cargaron, pero los cambios "
                                         "no se guardarán."))) {
        a.archivo.close();
        return false;
    }
    if (ap == Apertura::Ninguna &&
        !seguirSinGuardar(noSeAbre(usuarios, ruta) +
                          QStringLiteral("\n\nEl programa puede funcionar con el usuario "
                                         "\"General\", sin guardar los cambios.")))
        return false;

    ContenidoUsuarios c = LeerContenidoUsuarios(datos);
    a.posicion = c.registros * kLargoRegistroUsuario;
    if (c.usuarios.isEmpty()) {
        // An empty file, or one shorter than a record: the default profile
        // becomes record 1.
        c.usuarios.append(Usuario::Nuevo(QString::fromLatin1(kNombreGeneral)));
        a.posicion = 0;
        if (a.escribible) {
            if (escribirEn(a.archivo, 0, RegistroDeUsuario(c.usuarios.front()))) {
                a.posicion = kLargoRegistroUsuario;
            } else {
                a.escribible = false;
                if (!seguirSinGuardar(noSeGuarda(usuarios, ruta))) {
                    a.archivo.close();
                    return false;
                }
            }
        }
    }
    for (qsizetype k = 0; k < c.usuarios.size(); ++k) {
        Usuarios[static_cast<std::size_t>(k)] = c.usuarios[k];
        cboUsuario.AddItem(c.usuarios[k].Nombre.texto());
    }
    e.sobrantes = c.sobrantes;
    ArchivoUsuarios = numeroDe(a.archivo);
    if (!e.sobrantes.isEmpty()) {
        MsgBox(QStringLiteral("El archivo de usuarios tiene %1 usuarios y el programa puede usar "
                              "solo %2.\nSe muestran los %2 primeros; los demás se conservan "
                              "en el archivo.")
                   .arg(c.registros)
                   .arg(kMaxUsuarios),
               vbExclamation, QStringLiteral("Atención"));
    }
    return true;
}

bool CargarConfiguracion() {
    EstadoArchivos& e = estado();
    ArchivoAbierto& a = e.config;
    const QString ruta = RutaArchivoConfig();
    const QString config = QStringLiteral("configuración");
    ArchivoConfig = 0;

    QByteArray datos;
    const Apertura ap = abrir(a, ruta, datos);
    a.escribible = ap == Apertura::Escritura;
    if (ap == Apertura::Lectura &&
        !seguirSinGuardar(noSeGuarda(config, ruta) +
                          QStringLiteral("\n\nEl puerto y el último usuario elegidos no se "
                                         "guardarán."))) {
        a.archivo.close();
        return false;
    }
    if (ap == Apertura::Ninguna &&
        !seguirSinGuardar(noSeAbre(config, ruta) +
                          QStringLiteral("\n\nEl programa puede funcionar con el puerto 1 y el "
                                         "usuario \"General\", sin guardar los cambios.")))
        return false;

    ConfigInicio = LeerContenidoConfig(datos);
    if (datos.size() < kLargoRegistroConfig && a.escribible &&
        !escribirEn(a.archivo, 0, RegistroDeConfig(ConfigInicio))) {
        a.escribible = false;
        if (!seguirSinGuardar(noSeGuarda(config, ruta))) {
            a.archivo.close();
            return false;
        }
    }
    a.posicion = kLargoRegistroConfig;
    ArchivoConfig = numeroDe(a.archivo);
    return true;
}

bool AgregarUsuarioAlArchivo(const Usuario& u) {
    ArchivoAbierto& a = estado().usuarios;
    if (!a.escribible)
        return false; // the user chose to run without saving
    if (escribirEn(a.archivo, a.posicion, RegistroDeUsuario(u))) {
        a.posicion += kLargoRegistroUsuario;
        return true;
    }
    // A part of the record may have reached the file: it is ignored on
    // reading and the next append goes over it.
    MsgBox(QStringLiteral("No se pudo agregar el nuevo usuario al archivo:\n%1\n\nEl usuario "
                          "queda en la lista y se guardará al salir del programa con el botón "
                          "\"Salir\".")
               .arg(nativa(RutaArchivoUsuarios())),
           vbExclamation, QStringLiteral("Error"));
    return false;
}

bool GuardarTodo(const Lista& cboUsuario, std::int16_t puerto) {
    EstadoArchivos& e = estado();
    QStringList fallidos;

    e.usuarios.archivo.close();
    ArchivoUsuarios = 0;
    const int n = std::min(cboUsuario.ListCount(), kMaxUsuarios);
    // An empty list never replaces the profiles in the file.
    if (e.usuarios.escribible && n > 0) {
        QByteArray datos;
        datos.reserve((n * kLargoRegistroUsuario) + e.sobrantes.size());
        for (int i = 0; i < n; ++i)
            datos.append(RegistroDeUsuario(Usuarios[static_cast<std::size_t>(i)]));
        datos.append(e.sobrantes);
        if (!ReemplazarArchivo(RutaArchivoUsuarios(), datos))
            fallidos << nativa(RutaArchivoUsuarios());
    }

    e.config.archivo.close();
    ArchivoConfig = 0;
    ConfigInicio.NombreUsuario = Recortar(cboUsuario.Text());
    if (puerto >= 0 && puerto <= 0xFF)
        ConfigInicio.Puerto = static_cast<std::uint8_t>(puerto);
    if (e.config.escribible &&
        !ReemplazarArchivo(RutaArchivoConfig(), RegistroDeConfig(ConfigInicio)))
        fallidos << nativa(RutaArchivoConfig());

    if (fallidos.isEmpty())
        return true;
    MsgBox(QStringLiteral("No se pudieron guardar los cambios en:\n%1\n\nEse archivo conserva "
                          "su contenido anterior.")
               .arg(fallidos.join(QLatin1Char('\n'))),
           vbExclamation, QStringLiteral("Error"));
    return false;
}

void CerrarArchivos() {
    estado().usuarios.archivo.close();
    estado().config.archivo.close();
    ArchivoUsuarios = 0;
    ArchivoConfig = 0;
}

bool SeGuardanUsuarios() {
    return estado().usuarios.escribible;
}
bool SeGuardaConfiguracion() {
    return estado().config.escribible;
}

void ReiniciarArchivos() {
    CerrarArchivos();
    EstadoArchivos& e = estado();
    e.usuarios.escribible = e.config.escribible = false;
    e.usuarios.posicion = e.config.posicion = 0;
    e.sobrantes.clear();
    e.sinGuardarAceptado = false;
}

} // namespace quimbal
