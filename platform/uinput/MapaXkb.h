#pragma once
// A keyboard layout compiled by libxkbcommon, asked the other way round:
// which key, with which of SHIFT and the third-level shift (AltGr), types a
// character or a key symbol. Characters the layout has only through a dead
// key (á, ü, â on a Spanish or French layout) come out as the dead key then
// the base letter. Key codes are the kernel's (input-event-codes.h).
#include "platform/NotacionTeclas.h"
#include "platform/uinput/DisposicionTeclado.h"

#include <QList>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include <xkbcommon/xkbcommon.h>

namespace quimbal {

struct Tecleo {
    std::uint16_t codigo = 0;
    bool mayusculas = false; // SHIFT needed for the level
    bool nivel3 = false;     // third-level shift needed for the level
    bool operator==(const Tecleo&) const = default;
};

// One key event for the device: press (abajo) or release.
struct EventoTecla {
    std::uint16_t codigo = 0;
    bool abajo = false;
    bool operator==(const EventoTecla&) const = default;
};

class MapaXkb {
public:
    // Null when the names do not compile (an unknown layout); `error` then
    // says why.
    static std::unique_ptr<MapaXkb> crear(const NombresXkb& nombres, QString& error);

    // The taps that type `c`: one, or a dead key and the base character.
    std::optional<std::vector<Tecleo>> buscarCaracter(char32_t c) const;
    std::optional<Tecleo> buscarSimbolo(xkb_keysym_t s) const;
    // The key that is this modifier (Shift_L, Control_L, Alt_L,
    // ISO_Level3_Shift, or a twin of it); 0 when the layout has none.
    std::uint16_t teclaModificadora(xkb_keysym_t s) const;

    // Turns strokes into key events: each stroke's modifiers pressed, its
    // key pressed and released, its modifiers released. False with nothing
    // planned when a stroke cannot be typed; `falta` is then the character
    // the layout lacks (0 for a missing key or modifier).
    bool planear(const QList<Pulsacion>& pulsaciones, std::vector<EventoTecla>& eventos,
                 char32_t& falta) const;

private:
    MapaXkb() = default;
    void indexar(xkb_keymap* mapa);

    std::map<char32_t, Tecleo> caracteres_;
    std::map<xkb_keysym_t, Tecleo> simbolos_;
    std::map<xkb_keysym_t, std::uint16_t> modificadoras_;
};

} // namespace quimbal
