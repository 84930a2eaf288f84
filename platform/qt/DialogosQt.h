#pragma once
#include "platform/Dialogos.h"

class QMessageBox;

namespace quimbal {

// Message boxes and the prompt as Qt dialogs with Spanish buttons.
class DialogosQt : public Dialogos {
public:
    // Builds the box without showing it (what a message shows).
    static QMessageBox* crearCaja(const QString& texto, int estilo, const QString& titulo);

protected:
    int mostrarMensaje(const QString& texto, int estilo, const QString& titulo) override;
    QString pedirTexto(const QString& texto, const QString& titulo) override;
};

} // namespace quimbal
