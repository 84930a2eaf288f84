#pragma once
// Confirmation sounds for tests: each one asked for is recorded, in order,
// as "aceptada" or "ignorada".
#include "platform/Confirmacion.h"

#include <QStringList>

namespace quimbal {

class ConfirmacionFalsa : public Confirmacion {
public:
    void aceptada() override { sonidos << QStringLiteral("aceptada"); }
    void ignorada() override { sonidos << QStringLiteral("ignorada"); }
    QStringList sonidos;
};

} // namespace quimbal
