#include "actions/Catalogo.h"

#include "platform/Controles.h"

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

void ConstruirCatalogo(Lista& cboTeclas1, Lista& cboTeclas2, TablaTeclas& Teclas) {
    cboTeclas1.Clear();
    cboTeclas2.Clear();
    for (int i = 0; i < kEntradasCatalogo; ++i) {
        const auto& e = Catalogo[static_cast<std::size_t>(i)];
        cboTeclas1.AddItem(QString::fromUtf8(e.texto));
        cboTeclas2.AddItem(QString::fromUtf8(e.texto));
        Teclas[static_cast<std::size_t>(i)] = QString::fromUtf8(e.codigo);
    }
}

int PosicionEnCatalogo(const QString& texto) {
    for (int i = 0; i < kEntradasCatalogo; ++i)
        if (texto == QString::fromUtf8(Catalogo[static_cast<std::size_t>(i)].texto))
            return i;
    return -1;
}

} // namespace quimbal
