#pragma once
// Modal message boxes and the one-line text prompt. Call sites speak in the
// style numbers of the classic message box (buttons + icon + default button)
// and get its answer codes back; every backend decodes them the same way.
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
constexpr int vbYes = 6;
constexpr int vbNo = 7;

// "Quimbal <major>.<minor>": the main window's title, and the title of every
// box that names none.
QString TituloAplicacion();

// What a style number asks for.
struct EstiloMensaje {
    enum class Icono { Ninguno, Stop, Pregunta, Exclamacion };
    bool siNo = false; // Yes/No buttons instead of OK
    Icono icono = Icono::Ninguno;
    bool segundoPorDefecto = false; // the second button (No) is the default
    static EstiloMensaje desde(int estilo);
};

class Dialogos {
public:
    virtual ~Dialogos() = default;
    // Shows a modal box; vbOK, vbYes or vbNo. An empty title is the
    // application's.
    int MsgBox(const QString& texto, int estilo = vbOKOnly, const QString& titulo = QString());
    // The text prompt; Cancel (or closing it) gives an empty text.
    QString InputBox(const QString& texto, const QString& titulo);

protected:
    virtual int mostrarMensaje(const QString& texto, int estilo, const QString& titulo) = 0;
    virtual QString pedirTexto(const QString& texto, const QString& titulo) = 0;
};

} // namespace quimbal
