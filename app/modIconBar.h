#pragma once
// The notification-area icon of the main window: it lives exactly as long as
// the window is loaded.
#include "platform/Bandeja.h"

namespace quimbal {

class frmSwitch;

// Message the shell posts to the window for mouse activity on the icon.
constexpr std::uint32_t kMensajeBandeja = WM_APP + 100; // 0x8064

// The icon record: filled once when the icon is added, used unchanged to
// remove it.
extern NOTIFYICONDATA DatosIcono;

// Fills DatosIcono for the window (its handle as hWnd and as uID, its own
// icon, the tooltip "Tocabrix") and adds the icon. The shell's answer is not
// looked at: without an icon the program runs on.
void AgregarIconoBandeja(frmSwitch& ventana);
// Removes the icon named by the record filled at add time.
void QuitarIconoBandeja();

} // namespace quimbal
