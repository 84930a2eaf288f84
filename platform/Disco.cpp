#include "platform/Disco.h"

#include <QFile>
#ifdef Q_OS_WIN
#include <filesystem>
#include <io.h>
#include <system_error>
#else
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace quimbal {

bool SincronizarArchivo(QFile& archivo) {
    if (!archivo.isOpen() || !archivo.flush())
        return false;
    const int fd = archivo.handle();
    if (fd < 0)
        return false;
#ifdef Q_OS_WIN
    return _commit(fd) == 0;
#else
    return ::fsync(fd) == 0;
#endif
}

bool SincronizarCarpeta(const QString& carpeta) {
#ifdef Q_OS_WIN
    Q_UNUSED(carpeta);
    return true;
#else
    const int fd =
        ::open(QFile::encodeName(carpeta).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool bien = ::fsync(fd) == 0;
    ::close(fd);
    return bien;
#endif
}

bool ReemplazarPorRenombre(const QString& origen, const QString& destino) {
#ifdef Q_OS_WIN
    // MoveFileEx with REPLACE_EXISTING underneath.
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(origen.toStdWString()),
                            std::filesystem::path(destino.toStdWString()), error);
    return !error;
#else
    return ::rename(QFile::encodeName(origen).constData(),
                    QFile::encodeName(destino).constData()) == 0;
#endif
}

} // namespace quimbal
