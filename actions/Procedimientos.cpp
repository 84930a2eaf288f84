#include "actions/Procedimientos.h"

#include "actions/Catalogo.h"

namespace quimbal {

Accion Accion::desde(const QString& texto, const QString& letra) {
    Accion a;
    if (texto == QLatin1String(kTextoClickIzquierdo))
        a.clic = Clic::Izquierdo;
    else if (texto == QLatin1String(kTextoClickDerecho))
        a.clic = Clic::Derecho;
    const int posicion = PosicionEnCatalogo(texto);
    const QString codigo =
        posicion < 0 ? QString()
                     : QString::fromUtf8(Catalogo[static_cast<std::size_t>(posicion)].codigo);
    const ResultadoNotacion r = AnalizarTeclas(codigo + letra);
    a.teclasValidas = r.valido();
    a.error = r.error;
    a.teclas = r.pulsaciones;
    return a;
}

void EmularClick(Inyector& inyector, BotonRaton boton) {
    // A failure is ignored: the gesture goes on.
    inyector.boton(boton, false);
    inyector.boton(boton, true);
    inyector.boton(boton, false);
}

bool RealizarAccion(const Accion& accion, Inyector& inyector) {
    if (accion.clic == Accion::Clic::Izquierdo)
        EmularClick(inyector, BotonRaton::Izquierdo);
    else if (accion.clic == Accion::Clic::Derecho)
        EmularClick(inyector, BotonRaton::Derecho);
    if (!accion.teclasValidas)
        return false;
    return accion.teclas.isEmpty() || inyector.teclear(accion.teclas);
}

} // namespace quimbal
