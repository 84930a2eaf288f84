#pragma once
// Help viewer for tests: records every file it is asked to show, and can
// refuse with a reason.
#include "platform/Ayuda.h"

#include <QStringList>

namespace quimbal {

class AyudaFalsa : public Ayuda {
public:
    bool abrir(const QString& archivo, QString& motivo) override {
        archivos << archivo;
        motivo = rechazo;
        return rechazo.isEmpty();
    }
    QStringList archivos;
    QString rechazo; // non-empty: the file cannot be shown, for this reason
};

} // namespace quimbal
