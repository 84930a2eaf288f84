#include "ui/Avisos.h"

#include "platform/Bandeja.h"
#include "platform/Dialogos.h"
#include "platform/Notificaciones.h"

#include <cstdio>

namespace quimbal {

QString Avisos::TipBase() {
    return QStringLiteral("Tocabrix");
}

QString Avisos::tip() const {
    QString t = TipBase();
    for (const Activo& a : activos_)
        t += QLatin1Char('\n') + a.resumen;
    return t;
}

void Avisos::actualizarTip() {
    bandeja_.cambiarTip(tip());
}

bool Avisos::activo(Incidencia p) const {
    for (const Activo& a : activos_)
        if (a.problema == p)
            return true;
    return false;
}

void Avisos::avisar(Incidencia p, const QString& resumen, const QString& texto, int estilo,
                    const QString& titulo) {
    const bool yaAvisado = activo(p);
    resolver(p);
    activos_.append({p, resumen, texto, estilo, titulo, false});
    actualizarTip();
    if (!fueraDeVista_) {
        dialogos_.MsgBox(texto, estilo, titulo);
        return;
    }
    activos_.last().cajaPendiente = true;
    // The same problem again (a port picked again) is not announced twice.
    if (yaAvisado)
        return;
    std::fprintf(stderr, "quimbal: %s\n", qPrintable(resumen));
    notificaciones_.notificar(QStringLiteral("Quimbal: ") + resumen, texto);
}

void Avisos::senalar(Incidencia p, const QString& resumen) {
    resolver(p);
    activos_.append({p, resumen, QString(), 0, QString(), false});
    actualizarTip();
    std::fprintf(stderr, "quimbal: %s\n", qPrintable(resumen));
}

void Avisos::resolver(Incidencia p) {
    for (qsizetype i = 0; i < activos_.size(); ++i) {
        if (activos_[i].problema == p) {
            activos_.removeAt(i);
            actualizarTip();
            return;
        }
    }
}

void Avisos::alVolverALaVista() {
    fueraDeVista_ = false;
    // A box lets other events run, and one of them may bring the window in
    // sight again: each due box is shown once.
    if (mostrando_)
        return;
    mostrando_ = true;
    // The list may change while a box is open (a problem that ends): it is
    // searched again after each one.
    for (;;) {
        qsizetype i = 0;
        while (i < activos_.size() && !activos_[i].cajaPendiente)
            ++i;
        if (i == activos_.size())
            break;
        activos_[i].cajaPendiente = false;
        const Activo a = activos_[i];
        dialogos_.MsgBox(a.texto, a.estilo, a.titulo);
    }
    mostrando_ = false;
}

} // namespace quimbal
