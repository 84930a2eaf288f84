#pragma once
// Modal message boxes and the one-line text prompt, with the style numbers and
// answer codes of the classic Windows message box.
#include <QString>

namespace quimbal {

// Style bits.
constexpr int vbOKOnly = 0;
constexpr int vbYesNo = 4;
constexpr int vbCritical = 16;
constexpr int vbQuestion = 32;
constexpr int vbExclamation = 48;
constexpr int vbDefaultButton2 = 256;

// Answer codes.
constexpr int vbOK = 1;
constexpr int vbCancel = 2;
constexpr int vbYes = 6;
constexpr int vbNo = 7;

// The title of every box that names none.
QString TituloAplicacion();

// What a style number asks for, decoded once so that every backend agrees.
struct EstiloMensaje {
    enum class Icono { Ninguno, Stop, Pregunta, Exclamacion };
    bool siNo = false;        // Yes/No buttons instead of OK
    Icono icono = Icono::Ninguno;
    bool segundoPorDefecto = false; // the second button (No) is the default
    static EstiloMensaje desde(int estilo);
};

class Dialogos {
public:
    virtual ~Dialogos() = default;
    // Shows a modal box and returns vbOK, vbYes or vbNo. An empty title has
    // already been replaced by TituloAplicacion() when this is called.
    virtual int mostrarMensaje(const QString& texto, int estilo, const QString& titulo) = 0;
    // Shows the text prompt; Cancel (or closing it) gives an empty answer.
    virtual QString pedirTexto(const QString& texto, const QString& titulo,
                               const QString& porDefecto) = 0;
};

} // namespace quimbal
