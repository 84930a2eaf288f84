#pragma once
// The platform services the program talks to, installed once at start-up
// (real backends by the program, recording fakes by the tests). The code
// above the platform reaches them through the free functions below, named as
// the classic system calls they stand for.
#include <QString>

namespace quimbal {

class Dialogos;
class Bucle;
class Inyector;       // mouse button events and key strings (platform/Inyector.h)
class PuertoSerie;    // the serial port's modem lines (platform/PuertoSerie.h)
class LibreriaSonido; // the sound-level component (platform/LibreriaSonido.h)
class Bandeja;        // the notification-area icon (platform/Bandeja.h)
class Ayuda;          // the help viewer (platform/Ayuda.h)

struct Servicios {
    Dialogos* dialogos = nullptr;
    Bucle* bucle = nullptr;
    Inyector* inyector = nullptr;
    PuertoSerie* puerto = nullptr;
    LibreriaSonido* sonido = nullptr;
    Bandeja* bandeja = nullptr;
    Ayuda* ayuda = nullptr;
};

Servicios& servicios();

// Event pump: processes every event waiting on the user-interface thread.
class Bucle {
public:
    virtual ~Bucle() = default;
    virtual void DoEvents() = 0;
};

// Message box with a style number; an empty title becomes "Quimbal 1.6".
int MsgBox(const QString& texto, int estilo = 0, const QString& titulo = QString());
// Text prompt; Cancel gives an empty text.
QString InputBox(const QString& texto, const QString& titulo = QString(),
                 const QString& porDefecto = QString());
void DoEvents();

// The folder the program was started from: the data files and the help file
// live there, whatever the current directory is.
QString CarpetaPrograma();
// Tests point the program's folder elsewhere; an empty text undoes it.
void FijarCarpetaPrograma(const QString& carpeta);

} // namespace quimbal
