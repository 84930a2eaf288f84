#pragma once
// The profile table: up to 21 profiles in list order, the one in use, the
// port in use and the settings record read at start-up. The program owns one
// and hands it to the windows, which show it and edit it through these
// operations; nothing here shows anything.
//
// Invariants kept here: 1 to 21 profiles once loaded; the current index
// always names one of them; the profile "General" is never deleted, nor the
// last profile; no two names are equal when case and surrounding spaces are
// ignored, as far as this table's own additions go.
#include "profiles/Registros.h"
#include "profiles/Usuario.h"

#include <QList>

namespace quimbal {

class Perfiles {
public:
    int cuenta() const { return static_cast<int>(usuarios_.size()); }
    const Usuario& usuario(int i) const { return usuarios_.at(i); }
    // UsuarioActual: the profile in use.
    int actual() const { return actual_; }
    const Usuario& enUso() const { return usuarios_.at(actual_); }

    // The table as a profile file gives it: the first 21 profiles, in file
    // order; with none, the default profile "General". Profile 0 is current.
    void cargar(const QList<Usuario>& usuarios);

    // Makes profile i current and brings the values that showing it fixes
    // into range: a mode other than 1 becomes 2 (sound), a threshold outside
    // 1..10 the nearest end, a delay of 0 or less 400 ms. False when there
    // is no profile i.
    bool seleccionar(int i);

    // The last profile whose name equals `nombre`, both trimmed of spaces and
    // compared without regard to case; -1 when none.
    int buscarUltimo(const QString& nombre) const;

    // Edits of the profile in use. `entrada` is 1 (switch 1 and the sound)
    // or 2 (switch 2).
    void fijarAccion(int entrada, const QString& texto);
    void fijarLetra(int entrada, const QString& letra);
    void fijarModo(std::int16_t modo);
    void fijarUmbral(int umbral);
    void fijarRetraso(int ms);
    // Both actions back to "Click izquierdo", both letters empty, the delay
    // back to 400 ms; name, mode and threshold stay.
    void restablecer();

    enum class Alta {
        Hecha,       // added, sorted in, and current
        SinNombre,   // nothing left once trimmed (also a cancelled prompt)
        Repetida,    // a profile of that name exists
        Llena,       // 21 profiles already
        NoGuardable, // characters the profile file cannot hold
    };
    struct ResultadoAlta {
        Alta alta = Alta::SinNombre;
        int indice = -1;    // the new profile, when added
        QString caracteres; // the characters refused, for NoGuardable
    };
    // Adds a profile under the typed name (PrepararNombre), sorts the table
    // by name (OrdenarUsuarios) and makes the new profile current.
    ResultadoAlta agregar(const QString& escrito);

    enum class Baja { Posible, General, Unico, NoExiste };
    Baja puedeEliminar(int i) const;
    // Deletes profile i when puedeEliminar says Posible; the profile before
    // it becomes current (the new first one when it was the first).
    bool eliminar(int i);

    // Sorts the table by the stored 20-character names, character code by
    // character code; the first profile becomes current.
    void OrdenarUsuarios();

    // The port in use (PuertoSwitch): 0 none, 1..4.
    int puerto() const { return puerto_; }
    void fijarPuerto(int puerto) { puerto_ = puerto; }

    // The settings record read at start-up.
    TipoConfigInicio ConfigInicio;

    bool llena() const { return cuenta() >= kMaxUsuarios; }
    bool vacia() const { return usuarios_.isEmpty(); }

private:
    Usuario& usoMutable() { return usuarios_[actual_]; }
    QList<Usuario> usuarios_;
    int actual_ = 0;
    int puerto_ = 0;
};

// The name a new profile gets from what was typed: trimmed, cut to the 20
// characters a name field holds (and trimmed again), its first character in
// upper case.
QString PrepararNombre(const QString& escrito);

// Threshold step actually used for a stored value: 1 to 10, anything outside
// taken to the nearest end.
int UmbralValido(int umbral);

// The characters of a name that a name field cannot keep: control characters
// and those without a byte in the files' code page. Empty when all can.
QString CaracteresNoGuardables(const QString& nombre);

} // namespace quimbal
