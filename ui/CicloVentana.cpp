#include "ui/CicloVentana.h"

#include "platform/Bandeja.h"
#include "platform/Dialogos.h"
#include "platform/Servicios.h"
#include "profiles/TextoFijo.h"

#include <QWidget>

namespace quimbal {

namespace {
bool avisadoSinBandeja = false;
} // namespace

void SeleccionarUltimoUsuario(Lista& cboUsuario, const QString& ultimo,
                              const std::function<void(int)>& mostrar) {
    const QString buscado = Recortar(ultimo).toUpper();
    for (int i = 0; i < cboUsuario.ListCount(); ++i) {
        if (Recortar(cboUsuario.List(i)).toUpper() == buscado) {
            cboUsuario.setListIndex(i);
            if (mostrar)
                mostrar(i);
        }
    }
}

void OcultarHaciaBandeja(QWidget& ventana) {
    if (HayAreaNotificacion()) {
        ventana.hide();
        return;
    }
    if (!avisadoSinBandeja) {
        avisadoSinBandeja = true;
        MsgBox(QStringLiteral("El escritorio no tiene área de notificación, así que el icono del "
                              "programa no puede mostrarse en ella.\n\nLa ventana se minimizará "
                              "en la barra de tareas: para volver a configurar el programa, "
                              "restáurela desde allí."),
               vbExclamation);
    }
    // A window without a minimise button may not be minimised by the window
    // manager: it got one at load; if the notification area went away since,
    // it gets one now.
    PrepararSinBandeja(ventana);
    ventana.showMinimized();
}

void PrepararSinBandeja(QWidget& ventana) {
    if (!HayAreaNotificacion() && !(ventana.windowFlags() & Qt::WindowMinimizeButtonHint))
        ventana.setWindowFlag(Qt::WindowMinimizeButtonHint, true);
}

void OlvidarAvisoSinBandeja() {
    avisadoSinBandeja = false;
}

} // namespace quimbal
