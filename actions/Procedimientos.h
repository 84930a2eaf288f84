#pragma once
// Performing an input's action. An action is held as a value, worked out once
// from the catalogue entry shown in the input's action list and the text of
// its letter box, whenever either changes: the click it starts with, if any,
// and the key strokes that follow (the entry's key code followed by the
// letter box text, in the key-string notation).
#include "platform/Inyector.h"

#include <QList>
#include <QString>

namespace quimbal {

struct Accion {
    enum class Clic { Ninguno, Izquierdo, Derecho };
    Clic clic = Clic::Ninguno;
    QList<Pulsacion> teclas;
    // The key string the notation rejects (an unpaired brace typed in the
    // letter box, an unknown key name): the click still happens, no key does.
    bool teclasValidas = true;
    QString error; // the notation's reason, when not valid

    // The action of catalogue entry `texto` (display text, trimmed) with the
    // letter box holding `letra`. A text the catalogue does not have acts as
    // "Sin establecer": only the letter is typed.
    static Accion desde(const QString& texto, const QString& letra);
    bool operator==(const Accion&) const = default;
};

// Releases the button, then clicks it (press, release): every click starts
// from a released button. A failed event is skipped and the rest go on.
void EmularClick(Inyector& inyector, BotonRaton boton);

// Performs the action: its click first, then its key strokes, not waiting for
// the target. False when the strokes could not be sent (rejected by the
// notation, or refused by the injector): nothing of them was typed. A click
// that fails is not reported.
bool RealizarAccion(const Accion& accion, Inyector& inyector);

} // namespace quimbal
