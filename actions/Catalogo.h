#pragma once
// The fixed catalogue of actions an input can perform: display text (shown in
// both action lists and stored in profiles) and key code (key-string notation).
#include <QString>
#include <array>

namespace quimbal {

constexpr int kEntradasCatalogo = 31;

struct EntradaCatalogo {
    const char* texto;  // display text, also what a profile stores
    const char* codigo; // key code; empty for the clicks, "Sin establecer" and "Letra..."
};

extern const std::array<EntradaCatalogo, kEntradasCatalogo> Catalogo;

inline constexpr const char* kTextoClickIzquierdo = "Click izquierdo";
inline constexpr const char* kTextoClickDerecho = "Click derecho";
inline constexpr const char* kTextoLetra = "Letra...";

inline constexpr const char* kTextoSinEstablecer = "Sin establecer";

// Position of the entry whose display text is exactly `texto`, or -1.
int PosicionEnCatalogo(const QString& texto);

} // namespace quimbal
