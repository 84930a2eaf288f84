#include "actions/Acciones.h"

#include "actions/Procedimientos.h"
#include "platform/Controles.h"
#include "platform/Inyector.h"
#include "profiles/TextoFijo.h"

namespace quimbal {

bool RealizarAccion(const Lista& cboTeclas, const CajaTexto& txtLetra, const TablaTeclas& Teclas) {
    if (cboTeclas.ListIndex() < 0)
        return SendKeys(txtLetra.Text());

    const QString accion = Recortar(cboTeclas.Text());
    if (accion == QLatin1String(kTextoClickIzquierdo)) {
        EmularClick(kSoltarIzquierdo);
        EmularClick(kClickIzquierdo);
    }
    if (accion == QLatin1String(kTextoClickDerecho)) {
        EmularClick(kSoltarDerecho);
        EmularClick(kClickDerecho);
    }
    // The pumps above may have run other handlers: read the position anew.
    const int posicion = cboTeclas.ListIndex();
    if (posicion < 0 || posicion >= kEntradasCatalogo)
        return SendKeys(txtLetra.Text());
    return SendKeys(Teclas[static_cast<std::size_t>(posicion)] + txtLetra.Text());
}

void ElegirAccion(const Lista& cboTeclas, CajaTexto& txtLetra, TextoFijo& Accion) {
    const QString texto = cboTeclas.Text();
    Accion = texto;
    if (texto != QLatin1String(kTextoLetra))
        txtLetra.setText(QString());
}

void GuardarLetra(const CajaTexto& txtLetra, TextoFijo& Letra) {
    Letra = txtLetra.Text();
}

} // namespace quimbal
