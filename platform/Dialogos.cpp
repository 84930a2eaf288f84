#include "platform/Dialogos.h"

namespace quimbal {

QString TituloAplicacion() {
    return QStringLiteral("Quimbal %1.%2").arg(QUIMBAL_VERSION_MAYOR).arg(QUIMBAL_VERSION_MENOR);
}

EstiloMensaje EstiloMensaje::desde(int estilo) {
    EstiloMensaje e;
    e.siNo = (estilo & 0x7) == vbYesNo;
    switch (estilo & 0x70) {
    case vbCritical:
        e.icono = Icono::Stop;
        break;
    case vbQuestion:
        e.icono = Icono::Pregunta;
        break;
    case vbExclamation:
        e.icono = Icono::Exclamacion;
        break;
    default:
        e.icono = Icono::Ninguno;
        break;
    }
    e.segundoPorDefecto = e.siNo && (estilo & 0x300) == vbDefaultButton2;
    return e;
}

int Dialogos::MsgBox(const QString& texto, int estilo, const QString& titulo) {
    return mostrarMensaje(texto, estilo, titulo.isEmpty() ? TituloAplicacion() : titulo);
}

QString Dialogos::InputBox(const QString& texto, const QString& titulo) {
    return pedirTexto(texto, titulo.isEmpty() ? TituloAplicacion() : titulo);
}

} // namespace quimbal
