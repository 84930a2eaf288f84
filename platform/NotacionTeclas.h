#pragma once
// The key-string notation of injected keystrokes, turned into key strokes.
//
//   {NAME}   a named key: ENTER ESC TAB UP DOWN LEFT RIGHT PGUP PGDN BACKSPACE
//            BS DELETE HOME END INSERT F1..F12 (letter case of the name ignored)
//   {c}      the single character c itself, so {+} {^} {%} {{} {}} type the
//            notation's own characters
//   + ^ %    SHIFT, CTRL, ALT held down for the key that follows; several may
//            be combined ("+^a"); at the end of the string the modifiers alone
//            are pressed and released
//   other    any other character types itself (" " is the space bar; a tab
//            character is the TAB key, a line break the ENTER key)
//
// Rejected: an unpaired brace, an unknown key name, the same modifier given
// twice for one key, any other control character. A rejected string yields no stroke.
#include <QList>
#include <QString>

namespace quimbal {

enum class TeclaNombrada {
    Ninguna, // a character (or modifiers alone when caracter is 0)
    Enter,
    Esc,
    Tab,
    Arriba,
    Abajo,
    Izquierda,
    Derecha,
    RePag,
    AvPag,
    Retroceso,
    Suprimir,
    Inicio,
    Fin,
    Insertar,
    F1,
    F2,
    F3,
    F4,
    F5,
    F6,
    F7,
    F8,
    F9,
    F10,
    F11,
    F12,
};

// One key stroke: the modifiers held, then one key pressed and released.
struct Pulsacion {
    bool mayusculas = false; // SHIFT
    bool control = false;    // CTRL
    bool alt = false;        // ALT
    TeclaNombrada tecla = TeclaNombrada::Ninguna;
    char32_t caracter = 0; // the character typed when tecla is Ninguna;
                           // 0 with tecla Ninguna: the modifiers alone

    bool soloModificadores() const { return tecla == TeclaNombrada::Ninguna && caracter == 0; }
    bool operator==(const Pulsacion&) const = default;
};

struct ResultadoNotacion {
    QList<Pulsacion> pulsaciones; // empty when rejected
    QString error;                // Spanish reason; empty when accepted
    int posicion = -1;            // index in the text where the fault was found
    bool valido() const { return error.isEmpty(); }
};

ResultadoNotacion AnalizarTeclas(const QString& texto);

// The strokes written back in the notation, in one canonical spelling: named
// keys upper-case in braces, the notation's own characters braced. Parsing the
// result gives the same strokes.
QString EscribirTeclas(const QList<Pulsacion>& pulsaciones);

// The name of a key in the notation ("ENTER", "F5"), empty for Ninguna.
QString NombreTecla(TeclaNombrada t);

} // namespace quimbal
