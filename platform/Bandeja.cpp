#include "platform/Bandeja.h"

#include "platform/Servicios.h"

#include <algorithm>

namespace quimbal {

QString NOTIFYICONDATA::Tip() const {
    const auto fin = std::find(szTip.begin(), szTip.end(), '\0');
    return QString::fromLatin1(szTip.data(), static_cast<qsizetype>(fin - szTip.begin()));
}

bool Shell_NotifyIcon(std::uint32_t dwMessage, const NOTIFYICONDATA& datos) {
    Bandeja* b = servicios().bandeja;
    return b ? b->Shell_NotifyIcon(dwMessage, datos) : false;
}

bool HayAreaNotificacion() {
    Bandeja* b = servicios().bandeja;
    return b ? b->HayAreaNotificacion() : false;
}

} // namespace quimbal
