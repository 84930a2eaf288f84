#pragma once
// Profile management behind the profile controls of the main window:
// selecting, showing, adding, deleting, sorting and restoring defaults. The
// routines work on the profile table and the controls they are given; the
// window's handlers are one-liners over them.
#include <QString>
#include <functional>

namespace quimbal {

class Lista;
class CajaTexto;
class Temporizador;

struct ControlesUsuario {
    Lista* cboUsuario = nullptr;
    Lista* cboTeclas1 = nullptr;
    Lista* cboTeclas2 = nullptr;
    CajaTexto* txtLetra1 = nullptr;
    CajaTexto* txtLetra2 = nullptr;
    Lista* cboSonido = nullptr;
    Temporizador* tmrDelaySonido = nullptr;
    // The mode routines of the window: switch mode and sound mode.
    std::function<void()> ActivaOpcionSwitch;
    std::function<void()> ActivaOpcionSonido;
};

// Selection of an entry of cboUsuario: the first slot whose trimmed name
// equals the trimmed entry text (exact case) becomes UsuarioActual and is
// shown. When no slot matches, the current profile stays.
void SeleccionarUsuario(const ControlesUsuario& c);

// Shows slot i in the window: both actions, both letters (as stored, without
// the clearing a user's choice of action causes), the mode, the threshold
// and the re-arm delay. The actions and letters of the slot stay as they
// were. An action text that no entry of the list has shows "Sin establecer"
// (the profile keeps its text); a threshold outside 1 to 10 shows and becomes
// the nearest of them; a delay of 0 or less becomes 400 ms.
void MostrarUsuario(const ControlesUsuario& c, int i);

// Sorts slots 0 .. n - 1 by their stored name fields by character code,
// fills cboUsuario again and selects its first entry.
void OrdenarUsuarios(const ControlesUsuario& c);

// The add, delete and restore-defaults buttons.
void AgregarUsuario(const ControlesUsuario& c);
void EliminarUsuario(const ControlesUsuario& c);
void RestablecerUsuario(const ControlesUsuario& c);

// Names of new profiles: the typed text trimmed, cut to the 20 characters a
// name field holds (and trimmed again), its first character in upper case.
QString PrepararNombre(const QString& escrito);

} // namespace quimbal
