#pragma once
// Performing an input's action, and what the action controls store in the
// current profile. The main window's handlers are one-liners over these.
#include "actions/Catalogo.h"

namespace quimbal {

class Lista;
class CajaTexto;
class TextoFijo;

// Performs the action shown by an input's controls: the selected entry of the
// action list and the whole text of its letter box. "Click izquierdo" and
// "Click derecho" first release, then click that button (pumping pending
// events after each mouse event); then, for any selected entry, the entry's
// key code followed by the letter box text is sent as one key string, without
// waiting for the target. With nothing selected only the letter box text is
// sent.
// Returns false when the key string could not be sent (a string the notation
// rejects, such as an unpaired brace in the letter box, or no injection in
// this session): nothing of it was typed, and the caller decides what follows
// (the switch poll ends its tick). Mouse failures are not reported.
bool RealizarAccion(const Lista& cboTeclas, const CajaTexto& txtLetra, const TablaTeclas& Teclas);

// The user chose an entry of an action list: the profile's action takes its
// text, and the letter box is emptied (its change handler then stores the
// empty letter) unless the entry is "Letra...".
void ElegirAccion(const Lista& cboTeclas, CajaTexto& txtLetra, TextoFijo& Accion);

// The letter box changed: the profile's letter takes its whole text (the
// field keeps its first 20 characters).
void GuardarLetra(const CajaTexto& txtLetra, TextoFijo& Letra);

} // namespace quimbal
