#include "app/LineaDeOrdenes.h"

#include "profiles/Carpetas.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace quimbal {

namespace {
// An argument of the Exec key as the desktop entry format reads it: quoted,
// with '"', '`', '$' and '\' escaped inside the quotes and '%' doubled (it
// starts a field code); then, as the key is a string, every backslash
// escaped once more.
QString argumentoExec(const QString& a) {
    QString r;
    for (const QChar c : a) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
            c == QLatin1Char('\\'))
            r += QLatin1Char('\\');
        else if (c == QLatin1Char('%'))
            r += QLatin1Char('%');
        r += c;
    }
    r.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return QLatin1Char('"') + r + QLatin1Char('"');
}

// The Exec key that runs `programa` with --bandeja. A path with '%' goes
// through env: some desktops look for the program named by the first word
// before they undo the doubled '%', and so would not find it.
QString ordenExec(const QString& programa) {
    const QString orden = argumentoExec(programa) + QStringLiteral(" --bandeja");
    return programa.contains(QLatin1Char('%')) ? QStringLiteral("env ") + orden : orden;
}

// A plain string key (TryExec): only the backslash is escaped.
QString cadenaDesktop(const QString& a) {
    QString r = a;
    return r.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
}

// A path that no desktop entry can hold: control characters (a line feed
// would end the key) and a path that is not absolute.
bool rutaRepresentable(const QString& ruta) {
    if (!ruta.startsWith(QLatin1Char('/')))
        return false;
    for (const QChar c : ruta)
        if (c.category() == QChar::Other_Control)
            return false;
    return true;
}
} // namespace

Ordenes LeerOrdenes(const QStringList& argumentos) {
    Ordenes o;
    for (qsizetype i = 0; i < argumentos.size() && o.error.isEmpty(); ++i) {
        const QString& a = argumentos[i];
        if (a == QLatin1String("--bandeja")) {
            o.bandeja = true;
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            o.ayuda = true;
        } else if (a == QLatin1String("--version")) {
            o.version = true;
        } else if (a == QLatin1String("--inicio-automatico") ||
                   a.startsWith(QLatin1String("--inicio-automatico="))) {
            const QString valor = a.contains(QLatin1Char('='))
                                      ? a.section(QLatin1Char('='), 1)
                                      : (i + 1 < argumentos.size() ? argumentos[++i] : QString());
            if (valor == QLatin1String("si") || valor == QLatin1String("sí"))
                o.inicioAutomatico = true;
            else if (valor == QLatin1String("no"))
                o.inicioAutomatico = false;
            else
                o.error = QStringLiteral("--inicio-automatico necesita «si» o «no»");
        } else {
            o.error = QStringLiteral("opción desconocida: «%1»").arg(a);
        }
    }
    return o;
}

QString TextoAyudaOrdenes() {
    return QStringLiteral(
        "Uso: quimbal [OPCIÓN]\n"
        "Emula clics y pulsaciones de teclas con switches conectados al puerto serie o con el "
        "sonido\ndel micrófono.\n\n"
        "Opciones:\n"
        "  --bandeja                    arranca sin pantalla de inicio y sin ventana: carga el "
        "último\n"
        "                               usuario, deja el icono en el área de notificación y los "
        "switches\n"
        "                               o el sonido actúan desde el primer momento\n"
        "  --inicio-automatico si|no    hace que Quimbal arranque (con --bandeja) al iniciar la "
        "sesión,\n"
        "                               o deja de hacerlo\n"
        "  --version                    muestra la versión y termina\n"
        "  --help                       muestra esta ayuda y termina\n\n"
        "Los usuarios y la configuración se guardan en la carpeta del programa si ya contiene\n"
        "usuarios.dat o se puede escribir en ella; si no, en ~/.config/quimbal/.\n");
}

QString ArchivoInicioAutomatico() {
    return CarpetaConfiguracion() + QStringLiteral("/autostart/quimbal.desktop");
}

bool FijarInicioAutomatico(bool activar, const QString& programa, QString& motivo) {
    const QString archivo = ArchivoInicioAutomatico();
    if (!activar) {
        if (QFile::exists(archivo) && !QFile::remove(archivo)) {
            motivo = QStringLiteral("No se puede borrar %1").arg(archivo);
            return false;
        }
        return true;
    }
    if (!rutaRepresentable(programa)) {
        motivo = QStringLiteral("La ruta del programa (%1) tiene caracteres que una entrada de "
                                "inicio automático no admite; copie el programa a otra carpeta")
                     .arg(programa);
        return false;
    }
    if (!QDir().mkpath(QFileInfo(archivo).absolutePath())) {
        motivo = QStringLiteral("No se puede crear la carpeta %1").arg(QFileInfo(archivo).path());
        return false;
    }
    QSaveFile f(archivo);
    const QString texto =
        QStringLiteral("[Desktop Entry]\n"
                       "Type=Application\n"
                       "Name=Quimbal\n"
                       "Comment=Arranca Quimbal en el área de notificación al iniciar la sesión\n"
                       // A program since removed is skipped, not reported.
                       "TryExec=%2\n"
                       "Exec=%1\n"
                       "Icon=quimbal\n"
                       "Terminal=false\n"
                       "X-GNOME-Autostart-enabled=true\n"
                       // Wait for the panel that holds the notification area.
                       "X-GNOME-Autostart-Delay=5\n"
                       "X-MATE-Autostart-Delay=5\n"
                       "X-KDE-autostart-after=panel\n"
                       "X-KDE-autostart-phase=2\n"
                       "X-LXQt-Need-Tray=true\n")
            .arg(ordenExec(programa), cadenaDesktop(programa));
    if (!f.open(QIODevice::WriteOnly) || f.write(texto.toUtf8()) < 0 || !f.commit()) {
        motivo = QStringLiteral("No se puede escribir %1").arg(archivo);
        return false;
    }
    return true;
}

} // namespace quimbal
