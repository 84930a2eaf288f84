#include "platform/Dialogos.h"

namespace quimbal {

QString TituloAplicacion() { return QStringLiteral("Quimbal 1.6"); }

EstiloMensaje EstiloMensaje::desde(int estilo) {
    EstiloMensaje e;
    e.siNo = (estilo & 0x7) == vbYesNo;
    switch (estilo & 0x70) {
    case vbCritical: e.icono = Icono::Stop; break;
    case vbQuestion: e.icono = Icono::Pregunta; break;
    case vbExclamation: e.icono = Icono::Exclamacion; break;
    default: e.icono = Icono::Ninguno; break;
    }
    e.segundoPorDefecto = e.siNo && (estilo & 0x300) == vbDefaultButton2;
    return e;
}

} // namespace quimbal
