#include "platform/BloqueoArchivo.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quimbal {

namespace {
// Opens (creating) the lock file. A file of another user that may be read
// takes the lock as well as one of our own: the lock needs no writing.
int abrir(const QByteArray& ruta) {
    int fd = ::open(ruta.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0 && errno == EACCES)
        fd = ::open(ruta.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    return fd;
}

bool mismoArchivo(int fd, const QByteArray& ruta) {
    struct stat abierto {};
    struct stat nombrado {};
    return ::fstat(fd, &abierto) == 0 && ::lstat(ruta.constData(), &nombrado) == 0 &&
           abierto.st_dev == nombrado.st_dev && abierto.st_ino == nombrado.st_ino;
}
} // namespace

BloqueoArchivo::Resultado BloqueoArchivo::tomar() {
    if (fd_ >= 0)
        return Resultado::Tomado;
    const QByteArray ruta = QFile::encodeName(ruta_);
    // The owner removes the file as it lets go: a lock taken on a file that
    // was removed meanwhile is no lock, and the name is opened again.
    for (int intento = 0; intento < 5; ++intento) {
        const int fd = abrir(ruta);
        if (fd < 0)
            return Resultado::Imposible;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd);
            return error == EWOULDBLOCK ? Resultado::Ocupado : Resultado::Imposible;
        }
        if (!mismoArchivo(fd, ruta)) {
            ::close(fd);
            continue;
        }
        fd_ = fd;
        // For people who look: who holds it.
        if (::ftruncate(fd_, 0) == 0) {
            const QByteArray pid = QByteArray::number(static_cast<qint64>(::getpid())) + '\n';
            [[maybe_unused]] const ssize_t n = ::pwrite(fd_, pid.constData(), pid.size(), 0);
        }
        return Resultado::Tomado;
    }
    return Resultado::Imposible;
}

void BloqueoArchivo::soltar() {
    if (fd_ < 0)
        return;
    // Removed while still held, so that nobody takes a lock on a name that
    // is about to go.
    ::unlink(QFile::encodeName(ruta_).constData());
    ::close(fd_);
    fd_ = -1;
}

} // namespace quimbal
