#pragma once
// The keyboard layout the desktop session types with, as the names the XKB
// compiler takes (rules, model, layout, variant, options). On Wayland the
// compositor turns the key codes of our virtual device into characters with
// its own keymap, so the characters must be looked up on the same layout.
//
// Where it comes from, first found wins: the XKB_DEFAULT_* variables (read by
// wlroots compositors and others), the desktop's own input-source setting
// (GNOME: the most recently used source; KDE Plasma: kxkbrc), and the
// system's /etc/default/keyboard. With several layouts the first (or the
// active one, where the desktop says which) is taken.
#include <QString>

namespace quimbal {

struct NombresXkb {
    QString reglas, modelo, disposicion, variante, opciones;
    QString origen; // where the names were read, for messages
    bool vacio() const { return disposicion.isEmpty(); }
    bool mismoTeclado(const NombresXkb& o) const {
        return reglas == o.reglas && modelo == o.modelo && disposicion == o.disposicion &&
               variante == o.variante && opciones == o.opciones;
    }
};

// The readers of each source, on the source's text. Empty when the text
// names no layout.
NombresXkb DesdeFuentesGnome(const QString& recientes, const QString& fuentes,
                             const QString& opciones);
NombresXkb DesdeKxkbrc(const QString& texto);
NombresXkb DesdeTecladoDebian(const QString& texto);

// The session's layout from the sources above; empty when none names one
// (the XKB compiler then takes its defaults).
NombresXkb DisposicionDeLaSesion();

} // namespace quimbal
