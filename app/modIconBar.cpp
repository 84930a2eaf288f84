#include "app/modIconBar.h"

#include "ui/frmSwitch.h"

#include <algorithm>
#include <cstring>

namespace quimbal {

NOTIFYICONDATA DatosIcono;

void AgregarIconoBandeja(frmSwitch& ventana) {
    NOTIFYICONDATA d;
    d.cbSize = 88;
    d.hWnd = ventana.hWnd();
    d.uID = reinterpret_cast<WPARAM>(d.hWnd);
    d.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    d.uCallbackMessage = kMensajeBandeja;
    d.hIcon = ventana.windowIcon();
    // "Tocabrix", its NUL, and blanks up to the end of the field.
    static constexpr char kTip[] = "Tocabrix";
    d.szTip.fill(' ');
    std::memcpy(d.szTip.data(), kTip, sizeof kTip);
    DatosIcono = d;
    Shell_NotifyIcon(NIM_ADD, DatosIcono);
}

void QuitarIconoBandeja() {
    Shell_NotifyIcon(NIM_DELETE, DatosIcono);
}

} // namespace quimbal
