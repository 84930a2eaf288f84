#pragma once
// Notification area for tests: records every call with its record, tells
// whether a notification area exists as the test says, and lets the test press
// on an icon (the callback message goes through the window's chain at once).
#include "platform/Bandeja.h"

#include <QList>
#include <functional>

namespace quimbal {

class BandejaFalsa : public Bandeja {
public:
    BandejaFalsa();
    ~BandejaFalsa() override;
    bool Shell_NotifyIcon(std::uint32_t dwMessage, const NOTIFYICONDATA& datos) override;
    bool HayAreaNotificacion() const override { return hayArea; }

    struct Llamada {
        std::uint32_t mensaje;
        NOTIFYICONDATA datos;
    };
    QList<Llamada> llamadas;
    QList<NOTIFYICONDATA> iconos; // icons shown now
    bool hayArea = true;
    bool acepta = true;
    // Called on every call, after it is recorded ("agregar" or "quitar").
    std::function<void(const QString&)> registro;

    // A mouse message on the window's icon, sent through its procedure chain
    // now. False when the window has no icon.
    bool pulsar(HWND hWnd, std::uint32_t raton);
};

} // namespace quimbal
