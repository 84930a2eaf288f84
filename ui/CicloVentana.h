#pragma once
// Pieces of the main window's life that do not depend on the window itself.
#include "platform/Controles.h"

#include <functional>

class QWidget;

namespace quimbal {

// Selects, in turn, every entry of the profile list whose text matches the
// last profile's name (both trimmed of spaces, letter case ignored), and
// shows that profile once more; the last match stays selected. With no match
// the selection does not change.
void SeleccionarUltimoUsuario(Lista& cboUsuario, const QString& ultimo,
                              const std::function<void(int)>& mostrar);

// Hides the window into the notification area. Where the desktop has none,
// the window is minimised to the task bar instead (restoring it brings it
// back as the icon would), and the user is told so the first time.
void OcultarHaciaBandeja(QWidget& ventana);
// Where the desktop has no notification area, gives the window a minimise
// button before it is first shown: changing it later re-creates the window,
// which some window managers then leave unmapped instead of minimised.
void PrepararSinBandeja(QWidget& ventana);
// For tests: the next time, the user is told again.
void OlvidarAvisoSinBandeja();

} // namespace quimbal
