#include "app/Funciones.h"

namespace quimbal {

QByteArray DesplazarTexto(const QByteArray& Texto, std::int16_t Desplazamiento) {
    QByteArray resultado;
    resultado.reserve(Texto.size());
    for (const char c : Texto) {
        const int suma = static_cast<unsigned char>(c) + Desplazamiento;
        resultado.append(suma >= 0 && suma <= 255 ? static_cast<char>(suma) : '?');
    }
    return resultado;
}

} // namespace quimbal
