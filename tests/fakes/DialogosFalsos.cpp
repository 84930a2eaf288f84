#include "tests/fakes/DialogosFalsos.h"

namespace quimbal {

int DialogosFalsos::mostrarMensaje(const QString& texto, int estilo, const QString& titulo) {
    mensajes.append({texto, estilo, titulo});
    if (mientrasAbierto)
        mientrasAbierto();
    if (!respuestas.isEmpty())
        return respuestas.takeFirst();
    return EstiloMensaje::desde(estilo).siNo ? vbNo : vbOK;
}

QString DialogosFalsos::pedirTexto(const QString& texto, const QString& titulo,
                                   const QString&) {
    preguntas.append({texto, 0, titulo});
    if (mientrasAbierto)
        mientrasAbierto();
    return textos.isEmpty() ? QString() : textos.takeFirst();
}

ServiciosDePrueba::ServiciosDePrueba() {
    servicios().dialogos = &dialogos;
    servicios().bucle = &bucle;
}

ServiciosDePrueba::~ServiciosDePrueba() { servicios() = Servicios{}; }

} // namespace quimbal
