#include "profiles/Carpetas.h"

#include "platform/CarpetaPersonal.h"

#include <QDir>
#include <QFileInfo>

namespace quimbal {

QString CarpetaConfiguracion() {
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return QDir::cleanPath(xdg);
    return CarpetaPersonal() + QStringLiteral("/.config");
}

QString CarpetaDeDatosDelUsuario() {
    const QString carpeta = CarpetaConfiguracion() + QStringLiteral("/quimbal");
    if (!QFileInfo::exists(carpeta) && QDir().mkpath(carpeta))
        QFile::setPermissions(carpeta, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return carpeta;
}

QString CarpetaDeDatos(const QString& carpetaPrograma, const QString& carpetaInstalada) {
    const QFileInfo usuarios(QDir(carpetaPrograma).filePath(QStringLiteral("usuarios.dat")));
    if (usuarios.exists() || usuarios.isSymLink())
        return carpetaPrograma;
    const QFileInfo programa(carpetaPrograma);
    const bool instalada =
        !carpetaInstalada.isEmpty() &&
        programa.canonicalFilePath() == QFileInfo(carpetaInstalada).canonicalFilePath();
    if (!instalada && programa.isWritable())
        return carpetaPrograma;
    return CarpetaDeDatosDelUsuario();
}

} // namespace quimbal
