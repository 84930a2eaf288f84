#pragma once
// The text shift of the start screen's stored texts.
#include <QByteArray>
#include <cstdint>

namespace quimbal {

// Adds Desplazamiento to the single-byte code of every character of Texto
// (Windows-1252 codes 0 to 255). A sum outside 0 to 255 is a caller error: that
// character comes out as "?". The result has as many characters as Texto.
QByteArray DesplazarTexto(const QByteArray& Texto, std::int16_t Desplazamiento);

} // namespace quimbal
