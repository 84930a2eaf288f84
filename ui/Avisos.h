#pragma once
// What the window tells the user about problems (a sound server missing, a
// data file that cannot be written, a port that does not open, ...). While
// the window is in sight a problem gets its message box, as always. While it
// is out of sight (started straight into the notification area, or hidden by
// "Aceptar") nothing may wait on a box that a switch user cannot close: the
// problem is announced once through the desktop's notifications, written as
// one line on standard error, and kept as a line of the icon's tooltip while
// it lasts; when the window next comes into sight, a problem that still holds
// gets its box there, once, so that whoever set the program up sees it.
#include <QList>
#include <QString>

namespace quimbal {

class Bandeja;
class Dialogos;
class Notificaciones;

enum class Incidencia {
    Inyeccion,         // clicks and keys cannot reach every window
    Sonido,            // the sound capture does not run
    Archivos,          // a data file cannot be read or written: nothing is saved
    UsuariosDeMas,     // the profile file holds more profiles than are shown
    PuertoDesconocido, // the settings file names a port the program does not know
    Puerto,            // the chosen serial port does not open
    SinBandeja,        // the desktop has no notification area
    CajaUsb,           // the USB switch box is missing, or cannot be read or held
};

class Avisos {
public:
    Avisos(Dialogos& dialogos, Notificaciones& notificaciones, Bandeja& bandeja)
        : dialogos_(dialogos), notificaciones_(notificaciones), bandeja_(bandeja) {}

    // `resumen`: one line for the tooltip, standard error and the
    // notification's title; `texto`, `estilo`, `titulo`: the box.
    void avisar(Incidencia p, const QString& resumen, const QString& texto, int estilo,
                const QString& titulo = QString());
    // A state that needs no box and no notification (a box unplugged, that
    // comes back by itself): only a line of the tooltip while it lasts.
    void senalar(Incidencia p, const QString& resumen);
    // The problem is over: its tooltip line goes and no box is due for it.
    void resolver(Incidencia p);
    bool activo(Incidencia p) const;

    void fijarFueraDeVista(bool fuera) { fueraDeVista_ = fuera; }
    bool fueraDeVista() const { return fueraDeVista_; }
    // The window is in sight again: the boxes still due, once each.
    void alVolverALaVista();

    // The icon's tooltip: "Tocabrix", then one line per problem that lasts.
    QString tip() const;
    static QString TipBase();

private:
    struct Activo {
        Incidencia problema;
        QString resumen;
        QString texto;
        int estilo;
        QString titulo;
        bool cajaPendiente;
    };
    void actualizarTip();

    Dialogos& dialogos_;
    Notificaciones& notificaciones_;
    Bandeja& bandeja_;
    QList<Activo> activos_;
    bool fueraDeVista_ = false;
    bool mostrando_ = false;
};

} // namespace quimbal
