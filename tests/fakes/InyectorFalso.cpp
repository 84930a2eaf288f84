#include "tests/fakes/InyectorFalso.h"

#include "platform/Servicios.h"
#include "tests/fakes/DialogosFalsos.h"

namespace quimbal {

namespace {
QString nombreEventos(unsigned flags) {
    static constexpr struct {
        unsigned flag;
        const char* nombre;
    } kNombres[] = {
        {MOUSEEVENTF_LEFTDOWN, "LEFTDOWN"},     {MOUSEEVENTF_LEFTUP, "LEFTUP"},
        {MOUSEEVENTF_RIGHTDOWN, "RIGHTDOWN"},   {MOUSEEVENTF_RIGHTUP, "RIGHTUP"},
        {MOUSEEVENTF_MIDDLEDOWN, "MIDDLEDOWN"}, {MOUSEEVENTF_MIDDLEUP, "MIDDLEUP"},
    };
    QStringList n;
    for (const auto& k : kNombres)
        if (flags & k.flag)
            n << QString::fromLatin1(k.nombre);
    if (n.isEmpty())
        n << QStringLiteral("0x%1").arg(flags, 0, 16);
    return n.join(QLatin1Char('|'));
}
} // namespace

bool InyectorFalso::mouse_event(unsigned flags) {
    const QString n = nombreEventos(flags);
    if (fallarRaton) {
        rechazados << n;
        return false;
    }
    registro << n;
    return true;
}

bool InyectorFalso::enviarTeclas(const QList<Pulsacion>& pulsaciones) {
    const QString t = EscribirTeclas(pulsaciones);
    if (fallarTeclas) {
        rechazados << QStringLiteral("teclas:") + t;
        return false;
    }
    registro << QStringLiteral("teclas:") + t;
    teclas << t;
    return true;
}

void InyectorFalso::observar(BucleFalso& bucle) {
    bucle.registro = &registro;
}

InyectorDePrueba::InyectorDePrueba() {
    servicios().inyector = &inyector;
}
InyectorDePrueba::~InyectorDePrueba() {
    servicios().inyector = nullptr;
}

} // namespace quimbal
