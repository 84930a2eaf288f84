#include "tests/fakes/BandejaFalsa.h"

#include "platform/Servicios.h"

namespace quimbal {

BandejaFalsa::BandejaFalsa() {
    servicios().bandeja = this;
}

BandejaFalsa::~BandejaFalsa() {
    if (servicios().bandeja == this)
        servicios().bandeja = nullptr;
}

bool BandejaFalsa::Shell_NotifyIcon(std::uint32_t dwMessage, const NOTIFYICONDATA& datos) {
    llamadas.append({dwMessage, datos});
    bool hecho = false;
    if (acepta && dwMessage == NIM_ADD) {
        iconos.append(datos);
        hecho = true;
    } else if (acepta && dwMessage == NIM_DELETE) {
        for (int i = 0; i < iconos.size(); ++i)
            if (iconos[i].hWnd == datos.hWnd && iconos[i].uID == datos.uID) {
                iconos.removeAt(i);
                hecho = true;
                break;
            }
    }
    if (registro)
        registro(dwMessage == NIM_ADD ? QStringLiteral("agregar") : QStringLiteral("quitar"));
    return hecho;
}

bool BandejaFalsa::pulsar(HWND hWnd, std::uint32_t raton) {
    for (const NOTIFYICONDATA& d : std::as_const(iconos))
        if (d.hWnd == hWnd) {
            SendMessage(hWnd, d.uCallbackMessage, d.uID, static_cast<LPARAM>(raton));
            return true;
        }
    return false;
}

} // namespace quimbal
