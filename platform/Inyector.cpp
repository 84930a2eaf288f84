#include "platform/Inyector.h"

#ifdef QUIMBAL_CON_X11
#include "platform/x11/InyectorX11.h"
#endif

#include <cstdio>

namespace quimbal {

std::unique_ptr<Inyector> CrearInyector(QString& aviso) {
    QString motivo = QStringLiteral("este sistema no tiene forma de emular clics ni teclas");
#ifdef QUIMBAL_CON_X11
    if (auto x11 = CrearInyectorX11(motivo))
        return x11;
#endif
    std::fprintf(stderr, "quimbal: %s; no se emularán clics ni teclas.\n", qPrintable(motivo));
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (wayland && qEnvironmentVariableIsEmpty("DISPLAY"))
        aviso = QStringLiteral(
            "Esta sesión de escritorio (Wayland) no permite que Quimbal emule clics ni "
            "pulsaciones de teclas en otras aplicaciones.\n\n"
            "Para usar los pulsadores o el sonido, inicie una sesión de escritorio X11 (Xorg).");
    return std::make_unique<InyectorNulo>();
}

} // namespace quimbal
