#include "platform/Inyector.h"

#include "platform/Servicios.h"
#include "platform/x11/InyectorX11.h"

#include <cstdio>

namespace quimbal {

bool mouse_event(unsigned dwFlags, int, int, unsigned, std::uintptr_t) {
    Inyector* i = servicios().inyector;
    return i && i->mouse_event(dwFlags);
}

bool SendKeys(const QString& teclas) {
    const ResultadoNotacion r = AnalizarTeclas(teclas);
    if (!r.valido())
        return false;
    if (r.pulsaciones.isEmpty())
        return true;
    Inyector* i = servicios().inyector;
    return i && i->enviarTeclas(r.pulsaciones);
}

std::unique_ptr<Inyector> CrearInyector(QString* aviso) {
    QString motivo;
    if (auto x11 = CrearInyectorX11(&motivo))
        return x11;
    std::fprintf(stderr, "quimbal: %s; no se emularán clics ni teclas.\n", qPrintable(motivo));
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (aviso && wayland && qEnvironmentVariableIsEmpty("DISPLAY"))
        *aviso = QStringLiteral(
            "Esta sesión de escritorio (Wayland) no permite que Quimbal emule clics ni "
            "pulsaciones de teclas en otras aplicaciones.\n\n"
            "Para usar los pulsadores o el sonido, inicie una sesión de escritorio X11 (Xorg).");
    return std::make_unique<InyectorNulo>();
}

} // namespace quimbal
