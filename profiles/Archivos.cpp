#include "profiles/Archivos.h"

#include "profiles/EscrituraSegura.h"
#include "profiles/Perfiles.h"
#include "profiles/Registros.h"

#include <QDir>
#include <QFileInfo>

namespace quimbal {

namespace {
bool escribirEn(QFile& archivo, qint64 posicion, const QByteArray& datos) {
    OperacionesDisco& op = operacionesDisco();
    return archivo.isOpen() && archivo.seek(posicion) && op.escribir(archivo, datos) &&
           op.sincronizar(archivo);
}
} // namespace

ArchivosDatos::ArchivosDatos(QString carpeta) : carpeta_(std::move(carpeta)) {}

QString ArchivosDatos::RutaArchivoUsuarios() const {
    return QDir(carpeta_).filePath(QStringLiteral("usuarios.dat"));
}

QString ArchivosDatos::RutaArchivoConfig() const {
    return QDir(carpeta_).filePath(QStringLiteral("quimbal.dat"));
}

// Opens for reading and writing, creating a missing file; where the folder or
// the file does not allow writing, opens for reading only.
ArchivosDatos::Problema ArchivosDatos::abrir(Abierto& a, const QString& nombre, QByteArray& datos) {
    const QString ruta = RutaReal(nombre);
    a.archivo.close();
    a.archivo.setFileName(ruta);
    a.escribible = false;
    const QFileInfo info(ruta);
    if (info.exists() && !info.isFile())
        return Problema::NoSeAbre;
    Problema p = Problema::NoSeAbre;
    if (sinBloqueo_) {
        // Read what is there, if anything; never write.
        if (!info.exists() || !a.archivo.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            return Problema::SinBloqueo;
        p = Problema::SinBloqueo;
    } else if (QFileInfo(info.absolutePath()).isWritable() &&
               a.archivo.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        p = Problema::Ninguno;
    else if (info.exists() && a.archivo.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        p = Problema::SoloLectura;
    if (p == Problema::NoSeAbre)
        return p;
    datos = a.archivo.readAll();
    if (a.archivo.error() != QFileDevice::NoError) {
        a.archivo.close();
        datos.clear();
        return sinBloqueo_ ? Problema::SinBloqueo : Problema::NoSeAbre;
    }
    a.escribible = p == Problema::Ninguno;
    return p;
}

ArchivosDatos::Carga ArchivosDatos::CargarUsuarios(Perfiles& perfiles) {
    Carga r;
    QByteArray datos;
    r.problema = abrir(usuarios_, RutaArchivoUsuarios(), datos);
    ContenidoUsuarios c = LeerContenidoUsuarios(datos);
    usuarios_.posicion = c.registros * kLargoRegistroUsuario;
    perfiles.cargar(c.usuarios);
    if (c.usuarios.isEmpty()) {
        // An empty file, or one shorter than a record: the default profile
        // becomes record 1.
        usuarios_.posicion = 0;
        if (usuarios_.escribible) {
            if (escribirEn(usuarios_.archivo, 0, RegistroDeUsuario(perfiles.usuario(0)))) {
                usuarios_.posicion = kLargoRegistroUsuario;
            } else {
                usuarios_.escribible = false;
                r.problema = Problema::NoSeEscribe;
            }
        }
    }
    sobrantes_ = c.sobrantes;
    r.registros = c.registros;
    r.sobran = !sobrantes_.isEmpty();
    return r;
}

ArchivosDatos::Carga ArchivosDatos::CargarConfiguracion(Perfiles& perfiles) {
    Carga r;
    QByteArray datos;
    r.problema = abrir(config_, RutaArchivoConfig(), datos);
    perfiles.ConfigInicio = LeerContenidoConfig(datos);
    if (datos.size() >= kLargoRegistroConfig &&
        static_cast<std::uint8_t>(datos[0]) != perfiles.ConfigInicio.Puerto)
        r.puertoDesconocido = static_cast<std::uint8_t>(datos[0]);
    if (datos.size() < kLargoRegistroConfig && config_.escribible &&
        !escribirEn(config_.archivo, 0, RegistroDeConfig(perfiles.ConfigInicio))) {
        config_.escribible = false;
        r.problema = Problema::NoSeEscribe;
    }
    config_.posicion = kLargoRegistroConfig;
    return r;
}

bool ArchivosDatos::AgregarUsuarioAlArchivo(const Usuario& u) {
    if (!usuarios_.escribible)
        return true; // this run does not write the file
    if (!escribirEn(usuarios_.archivo, usuarios_.posicion, RegistroDeUsuario(u)))
        return false; // a part of the record that reached the file is ignored on reading
    usuarios_.posicion += kLargoRegistroUsuario;
    return true;
}

QStringList ArchivosDatos::GuardarTodo(Perfiles& perfiles) {
    QStringList fallidos;
    usuarios_.archivo.close();
    const int n = perfiles.cuenta();
    // An empty table never replaces the profiles in the file.
    if (usuarios_.escribible && n > 0) {
        QByteArray datos;
        datos.reserve((n * kLargoRegistroUsuario) + sobrantes_.size());
        for (int i = 0; i < n; ++i)
            datos.append(RegistroDeUsuario(perfiles.usuario(i)));
        datos.append(sobrantes_);
        if (!ReemplazarArchivo(RutaReal(RutaArchivoUsuarios()), datos))
            fallidos << QDir::toNativeSeparators(RutaArchivoUsuarios());
    }

    config_.archivo.close();
    if (n > 0)
        perfiles.ConfigInicio.NombreUsuario = perfiles.enUso().Nombre.recortado();
    if (perfiles.puerto() >= 0 && perfiles.puerto() <= 0xFF)
        perfiles.ConfigInicio.Puerto = static_cast<std::uint8_t>(perfiles.puerto());
    if (config_.escribible &&
        !ReemplazarArchivo(RutaReal(RutaArchivoConfig()), RegistroDeConfig(perfiles.ConfigInicio)))
        fallidos << QDir::toNativeSeparators(RutaArchivoConfig());

    // The settings belong to the profiles: saved where the profiles are.
    if (!sinBloqueo_ && cargados_ && usuarios_.escribible) {
        QStringList nombres = NombresConservados();
        for (int i = 0; i < n; ++i)
            nombres << perfiles.usuario(i).Nombre.recortado();
        if (!ajustes_.guardar(nombres) && !ajustes_.noSeEscribe())
            fallidos << QDir::toNativeSeparators(ajustes_.ruta());
    }
    return fallidos;
}

void ArchivosDatos::CargarAjustes() {
    if (sinBloqueo_)
        ajustes_.fijarSoloLectura();
    ajustes_.cargar();
    cargados_ = true;
}

QStringList ArchivosDatos::NombresConservados() const {
    QStringList nombres;
    for (qsizetype k = 0; k + kLargoRegistroUsuario <= sobrantes_.size();
         k += kLargoRegistroUsuario)
        nombres << UsuarioDeRegistro(sobrantes_.constData() + k).Nombre.recortado();
    return nombres;
}

void ArchivosDatos::CerrarArchivos() {
    usuarios_.archivo.close();
    config_.archivo.close();
}

} // namespace quimbal
