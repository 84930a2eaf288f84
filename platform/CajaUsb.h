#pragma once
// A USB switch box: an input device of the kernel whose buttons (a game
// controller) or keys (a box whose jacks type fixed keys) stand for the
// switches. The source reads the device itself, not the display server, so
// it works the same under X11 and Wayland. While in use it holds the device
// for itself: nothing else sees its events, so a keyboard-type box types only
// what the profile says.
#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace quimbal {

// What an input device is, from what it can send.
enum class TipoDispositivo {
    Caja,    // a few keys or buttons: a switch box, or something like one
    Mando,   // game controller buttons
    Teclado, // the letters of a keyboard: one of the machine's keyboards
    Raton,   // a pointer: a mouse, a touchpad, a tablet
    Propio,  // the program's own virtual keyboard and mouse: never offered
    Ninguno, // no key and no button
};

struct DispositivoEntrada {
    QString ruta; // its device node, /dev/input/eventN
    QString id;   // its name under /dev/input/by-id, or empty
    quint16 vendor = 0;
    quint16 product = 0;
    QString nombre; // as the device calls itself
    TipoDispositivo tipo = TipoDispositivo::Ninguno;
};

// How a stored box is found again: by its by-id name, or else by vendor,
// product and name.
struct SenaDispositivo {
    QString id;
    quint16 vendor = 0;
    quint16 product = 0;
    QString nombre;
    bool operator==(const SenaDispositivo&) const = default;
};

enum class FalloCaja {
    Ninguno,
    NoEsta,     // not connected
    SinPermiso, // the user may not read it
    Tomada,     // another program holds it for itself
    Otro,
};

// The device `sena` stands for among `lista`: by its by-id name, or else by
// vendor, product and name.
std::optional<DispositivoEntrada> Localizar(const SenaDispositivo& sena,
                                            const QList<DispositivoEntrada>& lista);

// What the key or button codes a device can send make it. `letras`: how
// many of the 26 letter keys; `puntero`: relative X and Y, or a touch
// surface; `mando`: any game controller or joystick button.
TipoDispositivo ClasificarDispositivo(const QString& nombre, int teclas, int letras, bool puntero,
                                      bool mando);
// Whether a device of this kind is offered as a switch box.
bool SeOfrece(TipoDispositivo tipo);
// How the list of devices calls it, marking the machine's keyboards and mice.
QString DescribirDispositivo(const DispositivoEntrada& d);
// The kernel's name of a key or button code (KEY_SPACE, BTN_TRIGGER), or
// the number.
QString NombreCodigo(int codigo);
// The udev rule that lets the user at the seat read the box, and where it
// goes.
QString ReglaUdev(quint16 vendor, quint16 product);
QString ArchivoReglaUdev();

class CajaUsb {
public:
    virtual ~CajaUsb() = default;

    // The input devices that have keys or buttons, now.
    virtual QList<DispositivoEntrada> dispositivos() = 0;
    // Uses the box known by `sena` (none: no box): opens it and holds it for
    // itself if it is there, and from then on finds it again whenever it is
    // plugged back, until another box or none is asked for. The previous one
    // is let go.
    virtual void usar(const std::optional<SenaDispositivo>& sena) = 0;
    virtual bool conectada() const = 0;
    // Why the box in use is not connected (Ninguno while it is), and the
    // device node it is or was last found at.
    virtual FalloCaja fallo() const = 0;
    virtual QString dispositivo() const = 0;
    // Whether the key or button `codigo` is down now.
    virtual bool pulsado(int codigo) const = 0;

    // On the user-interface thread: a key or button went down (true) or up,
    // at `ms` on the monotonic clock (the kernel's time of the event).
    std::function<void(int codigo, bool pulsado, qint64 ms)> alPulsar;
    // The box came (true) or went (false); also a failure to open it or to
    // hold it, with its reason in fallo().
    std::function<void(bool conectada)> alCambiar;
};

// The backend of this system (evdev on Linux; elsewhere a box that is never
// there).
std::unique_ptr<CajaUsb> CrearCajaUsb();

} // namespace quimbal
