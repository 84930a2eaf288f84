#pragma once
// What the windows give a screen reader and a keyboard user beyond the
// toolkit's defaults: lists named for what they are, and a focus ring that
// no other frame of the windows looks like.
#include <QColor>

namespace quimbal {

// Installs, once, the accessible interface of the lists and the focus ring.
// Call after the application object exists, before the windows are shown.
void InstalarAccesibilidad();

// The colour of the focus ring: dark enough against the white of the boxes
// and the grey of the buttons (more than 3:1 against both).
QColor ColorDeFoco();

} // namespace quimbal
