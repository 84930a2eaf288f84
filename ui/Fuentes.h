#pragma once
#include <QFont>
#include <QString>

namespace quimbal {

// Maps the window fonts to their metric-compatible free twins when the machine
// lacks them: Verdana to DejaVu Sans, Arial to Liberation Sans, Times New Roman
// to Liberation Serif. Call once after the application object exists.
void InstalarSustitucionesDeFuentes();

// A font of the window tables: family and size in points, optionally bold/italic.
QFont Fuente(const QString& familia, double puntos, bool negrita = false, bool cursiva = false);
inline QFont Verdana(double puntos) {
    return Fuente(QStringLiteral("Verdana"), puntos);
}

// Breaks a caption into lines that fit the width, at spaces; an "&" marking an
// access key takes no room.
QString EnvolverTexto(const QString& texto, const QFont& fuente, int anchoPixeles);

} // namespace quimbal
