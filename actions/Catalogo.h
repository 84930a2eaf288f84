#pragma once
// The fixed catalogue of actions an input can perform: display text (shown in
// both action lists and stored in profiles) and key code (key-string notation).
#include <QString>
#include <array>

namespace quimbal {

class Lista;

constexpr int kEntradasCatalogo = 31;

struct EntradaCatalogo {
    const char* texto;  // display text, also what a profile stores
    const char* codigo; // key code; empty for the clicks, "Sin establecer" and "Letra..."
};

extern const std::array<EntradaCatalogo, kEntradasCatalogo> Catalogo;

inline constexpr const char* kTextoClickIzquierdo = "Click izquierdo";
inline constexpr const char* kTextoClickDerecho = "Click derecho";
inline constexpr const char* kTextoLetra = "Letra...";

// Key codes by catalogue position, owned by the main window.
using TablaTeclas = std::array<QString, kEntradasCatalogo>;

// Fills both action lists with the catalogue in order and the key-code table.
void ConstruirCatalogo(Lista& cboTeclas1, Lista& cboTeclas2, TablaTeclas& Teclas);

// Position of the entry whose display text is exactly `texto`, or -1.
int PosicionEnCatalogo(const QString& texto);

} // namespace quimbal
