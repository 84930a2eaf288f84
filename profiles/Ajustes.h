#pragma once
// ajustes.json, the settings file beside the profile files: what the
// fixed-length records have no room for. It holds the timing settings of each
// profile and the machine's USB switch box:
//
//   {"perfiles": {"<profile>": {"aceptacion_ms": 300, "confirmacion": true}},
//    "usb": {"id": "...", "vendor": "0403", "product": "6001", "nombre": "...",
//            "pulsador1": 288, "pulsador2": 289}}
//
// Keys this copy does not know, at the top and inside an entry, are written
// back as they were, so settings added by a newer copy survive an older one.
// A known key with a wrong type or out of range is off (or taken into range)
// for use, and stays in the file as it is until that setting is changed.
// Every problem found at load is one Spanish line on standard error; nothing
// here asks or shows anything.
#include "platform/CajaUsb.h"
#include "profiles/AjustesMotor.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

namespace quimbal {

// The USB switch box: one input device and the key or button codes it sends.
struct SwitchUsb {
    QString id;         // the device's lasting name
    quint16 vendor = 0; // written as 4 hexadecimal digits
    quint16 product = 0;
    QString nombre;    // as the device calls itself
    int pulsador1 = 0; // the code that is switch 1
    std::optional<int> pulsador2;
    bool operator==(const SwitchUsb&) const = default;
    SenaDispositivo sena() const { return {id, vendor, product, nombre}; }
};

struct LecturaUsb {
    std::optional<SwitchUsb> usb; // none when absent or unusable
    QString problema;             // why a present entry is unusable
};
// Reads the "usb" entry (undefined or null: absent).
LecturaUsb LeerUsb(const QJsonValue& valor);
// The entry for `usb`, keeping the keys of `base` it does not set.
QJsonObject EscribirUsb(const SwitchUsb& usb, QJsonObject base = {});

class Ajustes {
public:
    explicit Ajustes(QString carpeta);
    QString ruta() const; // <carpeta>/ajustes.json

    // Reads the file. Missing: all defaults. Damaged (unreadable, not JSON,
    // not an object, a folder in its place): all defaults, and it is renamed
    // aside to ajustes.json.dañado, replacing an older one; when that rename
    // fails the file is never written by this run, so that nothing
    // overwrites it.
    void cargar();
    // This run may not write the folder (another copy holds its lock): a
    // damaged file is left where it is and nothing is ever written.
    void fijarSoloLectura() { soloLectura_ = noEscribir_ = true; }
    // This run never writes the file (read only, or a damaged file that
    // could not be set aside): guardar's false is then no failure.
    bool noSeEscribe() const { return noEscribir_; }
    // The lines the last load wrote to standard error.
    const QStringList& avisos() const { return avisos_; }

    // The settings of a profile, by name trimmed and without regard to case;
    // a profile without an entry has the defaults.
    AjustesMotor de(const QString& usuario) const;
    void fijar(const QString& usuario, const AjustesMotor& ajustes);

    // The "usb" entry as it is stored (undefined when absent), and read.
    QJsonValue usbCrudo() const { return raiz_.value(QStringLiteral("usb")); }
    void fijarUsbCrudo(const QJsonValue& valor);
    LecturaUsb usb() const { return LeerUsb(usbCrudo()); }
    // Writes the box (keeping the entry's unknown keys), or removes it.
    void fijarUsb(const std::optional<SwitchUsb>& usb);

    // Replaces the file whole, in one step, with the entries of the profiles
    // that exist now (`usuarios`, their names); the others are dropped. False
    // when it could not be written, or may not be: before cargar, and after a
    // damaged file could not be set aside.
    bool guardar(const QStringList& usuarios);

private:
    struct Entrada {
        QJsonValue crudo;      // as stored, and changed key by key
        AjustesMotor vigentes; // what it means for use
    };
    void avisar(const QString& linea);
    void apartar(const QString& real, const QString& motivo);
    void leerPerfiles();

    QString carpeta_;
    QJsonObject raiz_;
    QMap<QString, Entrada> entradas_; // by name trimmed, in upper case
    // A "perfiles" that is no object, kept as it is until a profile changes.
    std::optional<QJsonValue> perfilesCrudos_;
    bool noEscribir_ = false;
    bool soloLectura_ = false;
    QStringList avisos_;
};

} // namespace quimbal
