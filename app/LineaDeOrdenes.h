#pragma once
// The program's command line:
//   quimbal                          the start screen, then the window
//   quimbal --bandeja                straight into the notification area
//   quimbal --inicio-automatico si|no  start (or not) with the session
//   quimbal --help | --version
#include <QString>
#include <QStringList>
#include <optional>

namespace quimbal {

struct Ordenes {
    bool bandeja = false;
    std::optional<bool> inicioAutomatico;
    bool ayuda = false;
    bool version = false;
    QString error; // Spanish, when the line cannot be understood (exit 2)
};

// Reads the arguments (without the program's name).
Ordenes LeerOrdenes(const QStringList& argumentos);

QString TextoAyudaOrdenes();

// Writes (or removes) the session's autostart entry for the program at
// `programa`, $XDG_CONFIG_HOME/autostart/quimbal.desktop, running it with
// --bandeja once the desktop's panel is there. False, with the reason, when
// it could not.
bool FijarInicioAutomatico(bool activar, const QString& programa, QString& motivo);
QString ArchivoInicioAutomatico();

} // namespace quimbal
