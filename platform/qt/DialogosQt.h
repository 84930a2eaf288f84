#pragma once
#include "platform/Dialogos.h"
#include "platform/Servicios.h"

class QMessageBox;

namespace quimbal {

// Message boxes and the prompt as Qt dialogs with Spanish buttons.
class DialogosQt : public Dialogos {
public:
    int mostrarMensaje(const QString& texto, int estilo, const QString& titulo) override;
    QString pedirTexto(const QString& texto, const QString& titulo,
                       const QString& porDefecto) override;
    // Builds the box without showing it (what mostrarMensaje shows).
    static QMessageBox* crearCaja(const QString& texto, int estilo, const QString& titulo);
};

class BucleQt : public Bucle {
public:
    void DoEvents() override;
};

} // namespace quimbal
