#pragma once
// A snapshot of the X keyboard mapping (XKB) with the state that decides what
// a key types: the active group and the locked modifiers. It answers which key,
// with which of SHIFT and the third-level shift, types a given character or
// key symbol. Used by the XTest injector only.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace quimbal {

struct Combinacion {
    KeyCode codigo = 0;
    bool mayusculas = false; // SHIFT needed for the level
    bool nivel3 = false;     // third-level shift (AltGr) needed for the level
};

class MapaTeclado {
public:
    explicit MapaTeclado(Display* d);
    bool valido() const { return xkb_ != nullptr; }

    // The key that types this symbol with the fewest extra modifiers. With
    // `segunBloqueos` the locked modifiers (Caps Lock) count, so that the
    // symbol comes out as asked; without, the key is the one that types it on
    // an unlocked keyboard (for shortcuts: CTRL+a must not become CTRL+SHIFT+a
    // because Caps Lock is on).
    std::optional<Combinacion> buscarSimbolo(KeySym s, bool segunBloqueos = true) const;
    // The key that types this character (by any symbol that stands for it).
    std::optional<Combinacion> buscarCaracter(char32_t c, bool segunBloqueos = true) const;
    // A key of the layout that is this modifier (Shift_L, Control_L, Alt_L,
    // ISO_Level3_Shift; the right-hand twin when the left one is missing); 0
    // when the layout has none.
    KeyCode teclaModificadora(KeySym s) const;
    // Keycodes with no symbol and no modifier, lowest first.
    std::vector<KeyCode> codigosLibres() const;

    // The symbols a spare keycode gets to type `c`: its lower and upper case
    // when it has both, so that SHIFT behaves as on a real key.
    static std::pair<KeySym, KeySym> simbolosParaPrestar(char32_t c);
    // Every symbol that types `c`.
    static std::vector<KeySym> simbolosDe(char32_t c);

private:
    KeySym simboloEn(KeyCode kc, unsigned mods) const;
    template <class Coincide>
    std::optional<Combinacion> buscar(Coincide coincide, bool segunBloqueos) const;

    struct Liberar {
        void operator()(XkbDescPtr x) const { XkbFreeKeyboard(x, 0, True); }
    };
    std::unique_ptr<XkbDescRec, Liberar> xkb_;
    int grupo_ = 0;
    unsigned bloqueados_ = 0;
    unsigned mascaraNivel3_ = 0;
};

} // namespace quimbal
