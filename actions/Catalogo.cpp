#include "actions/Catalogo.h"

namespace quimbal {

const std::array<EntradaCatalogo, kEntradasCatalogo> Catalogo = {{
    {"Sin establecer", ""},
    {"Click izquierdo", ""},
    {"Click derecho", ""},
    {"Espacio en blanco", " "},
    {"ENTER", "{ENTER}"},
    {"ESC", "{ESC}"},
    {"TAB", "{TAB}"},
    {"Flecha arriba", "{UP}"},
    {"Flecha abajo", "{DOWN}"},
    {"Flecha izquierda", "{LEFT}"},
    {"Flecha derecha", "{RIGHT}"},
    {"PgUp", "{PGUP}"},
    {"PgDown", "{PGDN}"},
    {"Backspace", "{BACKSPACE}"},
    {"Delete", "{DELETE}"},
    {"F1", "{F1}"},
    {"F2", "{F2}"},
    {"F3", "{F3}"},
    {"F4", "{F4}"},
    {"F5", "{F5}"},
    {"F6", "{F6}"},
    {"F7", "{F7}"},
    {"F8", "{F8}"},
    {"F9", "{F9}"},
    {"F10", "{F10}"},
    {"F11", "{F11}"},
    {"F12", "{F12}"},
    {"SHIFT+...", "+"},
    {"CTRL+...", "^"},
    {"ALT+...", "%"},
    {"Letra...", ""},
}};

int PosicionEnCatalogo(const QString& texto) {
    for (int i = 0; i < kEntradasCatalogo; ++i)
        if (texto == QString::fromUtf8(Catalogo[static_cast<std::size_t>(i)].texto))
            return i;
    return -1;
}

} // namespace quimbal
