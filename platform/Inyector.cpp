#include "platform/Inyector.h"

#ifdef QUIMBAL_CON_X11
#include "platform/x11/InyectorX11.h"
#endif
#ifdef QUIMBAL_CON_UINPUT
#include "platform/uinput/InyectorUinput.h"
#endif

#include <cstdio>

namespace quimbal {

namespace {

// What the user reads when a Wayland session cannot use uinput: the fix, and
// what works meanwhile.
QString AvisoSinUinput(const QString& motivo, bool conX11) {
    return QStringLiteral(
               "Quimbal no puede usar el dispositivo /dev/uinput (%1), que necesita para emular "
               "clics y pulsaciones de teclas en esta sesión de escritorio (Wayland).\n\n"
               "Para arreglarlo, un administrador del equipo debe crear el archivo "
               "/etc/udev/rules.d/70-quimbal-uinput.rules con esta línea (el paquete de Quimbal "
               "ya la instala en /usr/lib/udev/rules.d):\n\n"
               "SUBSYSTEM==\"misc\", KERNEL==\"uinput\", OPTIONS+=\"static_node=uinput\", "
               "TAG+=\"uaccess\"\n\n"
               "Después hay que cerrar la sesión y volver a entrar (o reiniciar el equipo).\n\n")
               .arg(motivo) +
           (conX11 ? QStringLiteral("Mientras tanto, solo algunas ventanas (las de aplicaciones "
                                    "X11) recibirán los clics y las teclas de Quimbal; las "
                                    "demás no recibirán nada.")
                   : QStringLiteral("Mientras tanto, Quimbal no puede emular clics ni teclas."));
}

} // namespace

std::unique_ptr<Inyector> CrearInyector(QString& aviso) {
    QString motivo = QStringLiteral("este sistema no tiene forma de emular clics ni teclas");
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    [[maybe_unused]] QString motivoUinput;
#ifdef QUIMBAL_CON_UINPUT
    // On Wayland only a kernel device reaches every window; X11 sessions keep
    // XTest, which needs no permission.
    if (wayland) {
        if (auto uinput = CrearInyectorUinput(motivoUinput))
            return uinput;
        std::fprintf(stderr, "quimbal: no se puede usar uinput: %s.\n", qPrintable(motivoUinput));
    }
#endif
#ifdef QUIMBAL_CON_X11
    if (auto x11 = CrearInyectorX11(motivo)) {
        if (!motivoUinput.isEmpty())
            aviso = AvisoSinUinput(motivoUinput, true);
        return x11;
    }
#endif
    std::fprintf(stderr, "quimbal: %s; no se emularán clics ni teclas.\n", qPrintable(motivo));
    if (!motivoUinput.isEmpty())
        aviso = AvisoSinUinput(motivoUinput, false);
    else if (wayland && qEnvironmentVariableIsEmpty("DISPLAY"))
        aviso = QStringLiteral(
            "Esta sesión de escritorio (Wayland) no permite que Quimbal emule clics ni "
            "pulsaciones de teclas en otras aplicaciones.\n\n"
            "Para usar los pulsadores o el sonido, inicie una sesión de escritorio X11 (Xorg).");
    return std::make_unique<InyectorNulo>();
}

} // namespace quimbal
