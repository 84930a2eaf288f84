#include "platform/CajaUsb.h"

namespace quimbal {

TipoDispositivo ClasificarDispositivo(const QString& nombre, int teclas, int letras, bool puntero,
                                      bool mando) {
    // The program's own uinput device types and clicks for it: taking it
    // would take the program's hands.
    if (nombre.startsWith(QLatin1String("Quimbal:")))
        return TipoDispositivo::Propio;
    if (teclas == 0)
        return TipoDispositivo::Ninguno;
    // A keyboard-type box has a handful of keys; a keyboard has the letters.
    if (letras >= 20)
        return TipoDispositivo::Teclado;
    if (puntero)
        return TipoDispositivo::Raton;
    if (mando)
        return TipoDispositivo::Mando;
    return TipoDispositivo::Caja;
}

bool SeOfrece(TipoDispositivo tipo) {
    return tipo != TipoDispositivo::Propio && tipo != TipoDispositivo::Ninguno;
}

QString DescribirDispositivo(const DispositivoEntrada& d) {
    const QString nombre = d.nombre.isEmpty() ? d.ruta : d.nombre;
    switch (d.tipo) {
    case TipoDispositivo::Teclado:
        return QStringLiteral("%1 (teclado del equipo)").arg(nombre);
    case TipoDispositivo::Raton:
        return QStringLiteral("%1 (ratón del equipo)").arg(nombre);
    case TipoDispositivo::Mando:
        return QStringLiteral("%1 (botones)").arg(nombre);
    default:
        return QStringLiteral("%1 (teclas)").arg(nombre);
    }
}

std::optional<DispositivoEntrada> Localizar(const SenaDispositivo& sena,
                                            const QList<DispositivoEntrada>& lista) {
    if (!sena.id.isEmpty())
        for (const DispositivoEntrada& d : lista)
            if (d.id == sena.id)
                return d;
    for (const DispositivoEntrada& d : lista)
        if (d.vendor == sena.vendor && d.product == sena.product && d.nombre == sena.nombre)
            return d;
    return std::nullopt;
}

QString ReglaUdev(quint16 vendor, quint16 product) {
    return QStringLiteral(
               R"(SUBSYSTEM=="input", ATTRS{idVendor}=="%1", ATTRS{idProduct}=="%2", TAG+="uaccess")")
        .arg(vendor, 4, 16, QLatin1Char('0'))
        .arg(product, 4, 16, QLatin1Char('0'));
}

QString ArchivoReglaUdev() {
    // After 70-uaccess.rules and before 73-seat-late.rules, which turns the
    // tag into access for the user at the seat.
    return QStringLiteral("/etc/udev/rules.d/71-quimbal-caja.rules");
}

} // namespace quimbal
