#include "platform/Pantalla.h"

#include <QDir>
#include <QFile>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#ifdef QUIMBAL_CON_X11
#include <X11/Xlib.h>
#endif

namespace quimbal {

namespace {
// The Wayland compositor's socket: $WAYLAND_DISPLAY, absolute or inside
// $XDG_RUNTIME_DIR.
bool waylandContesta(const QString& nombre) {
    const QString ruta = QDir::isAbsolutePath(nombre)
                             ? nombre
                             : qEnvironmentVariable("XDG_RUNTIME_DIR") + QLatin1Char('/') + nombre;
    const QByteArray r = QFile::encodeName(ruta);
    sockaddr_un dir{};
    if (r.size() >= static_cast<qsizetype>(sizeof dir.sun_path))
        return false;
    dir.sun_family = AF_UNIX;
    std::copy(r.begin(), r.end(), dir.sun_path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&dir), sizeof dir) == 0;
    ::close(fd);
    return ok;
}

bool x11Contesta([[maybe_unused]] const QString& nombre) {
#ifdef QUIMBAL_CON_X11
    Display* d = XOpenDisplay(QFile::encodeName(nombre).constData());
    if (!d)
        return false;
    XCloseDisplay(d);
#endif
    return true;
}
} // namespace

bool HayPantalla(QString& motivo) {
    // Told by the user (or a test) which platform to use: the toolkit knows.
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return true;
    const QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY");
    const QString x11 = qEnvironmentVariable("DISPLAY");
    if (!wayland.isEmpty() && waylandContesta(wayland))
        return true;
    if (!x11.isEmpty() && x11Contesta(x11))
        return true;
    if (wayland.isEmpty() && x11.isEmpty())
        motivo = QStringLiteral("no hay pantalla: Quimbal necesita un escritorio gráfico (las "
                                "variables DISPLAY y WAYLAND_DISPLAY están vacías)");
    else
        motivo = QStringLiteral("no se puede conectar con la pantalla %1: Quimbal necesita un "
                                "escritorio gráfico en marcha")
                     .arg(!x11.isEmpty() ? x11 : wayland);
    return false;
}

} // namespace quimbal
