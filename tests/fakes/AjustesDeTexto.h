#pragma once
// Timing settings written the short way in test tables:
// "aceptacion=300 larga=1000 confirmacion".
#include "profiles/AjustesMotor.h"

#include <QString>
#include <QStringList>

namespace quimbal {

inline AjustesMotor AjustesDeTexto(const QString& texto) {
    AjustesMotor a;
    for (const QString& par : texto.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        a.confirmacion = a.confirmacion || par == QLatin1String("confirmacion");
        for (const CampoAjuste& c : kCamposAjuste)
            if (QLatin1String(c.clave) == par.section(QLatin1Char('='), 0, 0) + "_ms")
                a.*c.miembro = par.section(QLatin1Char('='), 1).toInt();
    }
    return a;
}

} // namespace quimbal
