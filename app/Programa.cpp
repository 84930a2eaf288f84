#include "app/Programa.h"

#include "app/LineaDeOrdenes.h"
#include "app/VentanaPrincipal.h"
#include "app/frmInicio.h"
#include "input/Entradas.h"
#include "platform/Inyector.h"
#include "platform/qt/AyudaQt.h"
#include "platform/qt/BandejaQt.h"
#include "platform/qt/DialogosQt.h"
#include "platform/NivelSonido.h"
#include "platform/PuertoSerie.h"
#include "profiles/Archivos.h"
#include "profiles/Carpetas.h"
#include "profiles/InstanciaUnica.h"
#include "profiles/Perfiles.h"
#include "ui/Fuentes.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QScreen>
#include <QSessionManager>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace quimbal {

namespace {
void centrar(QWidget& w) {
    if (QScreen* s = w.screen()) {
        const QRect r = s->availableGeometry();
        w.move(r.center() - w.rect().center());
    }
}

// The help file beside the program (a portable copy, the build folder), or
// the installed one.
QString ArchivoAyuda(const QString& carpetaPrograma) {
    const QString junto = QDir(carpetaPrograma).filePath(QStringLiteral("quimbal.hlp"));
    if (QFileInfo::exists(junto))
        return junto;
    return QStringLiteral(QUIMBAL_CARPETA_COMPARTIDA "/quimbal.hlp");
}

// At login the panel with the notification area may come up after the
// program: it is waited for this long before the window falls back to the
// task bar.
constexpr int kEsperaBandejaMs = 15000;
constexpr int kPasoEsperaMs = 250;

// What the command line asks that needs no window. -1: go on and start.
int AtenderOrdenes(const Ordenes& o, int argc, char** argv) {
    if (!o.error.isEmpty()) {
        std::fprintf(stderr, "quimbal: %s\nPruebe «quimbal --help» para ver las opciones.\n",
                     qPrintable(o.error));
        return 2;
    }
    if (o.ayuda) {
        std::fputs(qPrintable(TextoAyudaOrdenes()), stdout);
        return 0;
    }
    if (o.version) {
        std::printf("%s\n", qPrintable(TituloAplicacion()));
        return 0;
    }
    if (o.inicioAutomatico) {
        QCoreApplication app(argc, argv);
        QString motivo;
        if (!FijarInicioAutomatico(*o.inicioAutomatico, QCoreApplication::applicationFilePath(),
                                   motivo)) {
            std::fprintf(stderr, "quimbal: %s\n", qPrintable(motivo));
            return 1;
        }
        std::printf(
            *o.inicioAutomatico
                ? "Quimbal arrancará en el área de notificación al iniciar la sesión (%s).\n"
                : "Quimbal ya no arrancará al iniciar la sesión (%s).\n",
            qPrintable(ArchivoInicioAutomatico()));
        return 0;
    }
    return -1;
}
} // namespace

int EjecutarPrograma(int argc, char** argv) {
    QStringList argumentos;
    for (int i = 1; i < argc; ++i)
        argumentos << QString::fromLocal8Bit(argv[i]);
    const Ordenes ordenes = LeerOrdenes(argumentos);
    if (const int r = AtenderOrdenes(ordenes, argc, argv); r >= 0)
        return r;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quimbal"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quimbal/icono.png")));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quimbal.quimbal"));
    InstalarSustitucionesDeFuentes();
    // The window hides to the tray: closing a message box while it is hidden
    // must not end the program. It ends when the main window unloads.
    QApplication::setQuitOnLastWindowClosed(false);

    // The data files, the lock and the port entries live in the data folder,
    // whatever the current directory is.
    const QString carpetaPrograma = QCoreApplication::applicationDirPath();
    const QString carpeta =
        CarpetaDeDatos(carpetaPrograma, QStringLiteral(QUIMBAL_CARPETA_INSTALADA));
    DialogosQt dialogos;
    // Clicks and keystrokes for the focused application; a session without
    // any way to inject them is told so once.
    QString avisoInyector;
    const std::unique_ptr<Inyector> inyector = CrearInyector(avisoInyector);
    // One running copy per folder: a second one ends before touching the files.
    const Instancia instancia = TomarInstancia(carpeta);
    if (instancia == Instancia::OtraEnMarcha) {
        dialogos.MsgBox(QStringLiteral("Quimbal ya está en funcionamiento.\n\nUse el programa que "
                                       "está abierto: si no ve su ventana, pulse su icono en el "
                                       "área de notificación de la barra de tareas."),
                        vbExclamation);
        return 1;
    }
    if (!avisoInyector.isEmpty())
        dialogos.MsgBox(avisoInyector, vbExclamation);

    BandejaQt bandeja;
    AyudaQt ayuda;
    const std::unique_ptr<PuertoSerie> puerto = CrearPuertoSerie(carpeta);
    const std::unique_ptr<NivelSonido> sonido = CrearNivelSonido();
    const Servicios servicios{dialogos, *inyector, *puerto, *sonido, bandeja, ayuda};
    Perfiles perfiles;
    ArchivosDatos archivos(carpeta);
    // A folder that takes no lock (a full disk) is one where nothing is saved.
    if (instancia == Instancia::SinBloqueo)
        archivos.FijarSinBloqueo();
    Entradas entradas(perfiles, *puerto, *sonido, *inyector);

    std::unique_ptr<VentanaPrincipal> ventana;
    // Continuar: the start screen is gone; the configuration window loads
    // and shows, unless its load could not go on.
    auto cargarVentana = [&] {
        ventana = std::make_unique<VentanaPrincipal>(perfiles, archivos, entradas, servicios);
        ventana->ArchivoAyuda = ArchivoAyuda(carpetaPrograma);
        QObject::connect(ventana.get(), &frmSwitch::descargada, &app, &QApplication::quit,
                         Qt::QueuedConnection);
        ventana->Cargar();
        return !ventana->Descargada();
    };
    auto mostrarVentana = [&] {
        if (!cargarVentana())
            return;
        centrar(*ventana);
        ventana->show();
    };
    // A desktop session ending unloads the window as any other unload does:
    // nothing is saved.
    auto descargar = [&] {
        if (ventana)
            ventana->Descargar();
    };
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &app,
                     [&](QSessionManager&) { descargar(); });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &app, descargar);

    if (ordenes.bandeja) {
        // Straight into the notification area, as after "Aceptar": nothing
        // to leave for a user who cannot use a keyboard.
        auto* espera = new QTimer(&app);
        int esperado = 0;
        auto probar = [&, espera] {
            if (ventana)
                return;
            if (!bandeja.hayAreaNotificacion() && (esperado += kPasoEsperaMs) < kEsperaBandejaMs)
                return;
            espera->stop();
            if (cargarVentana())
                ventana->cmdAceptar_Click();
        };
        QObject::connect(espera, &QTimer::timeout, &app, probar);
        espera->start(kPasoEsperaMs);
        QTimer::singleShot(0, &app, probar);
    } else {
        auto* inicio = new frmInicio(dialogos);
        inicio->MostrarVentanaPrincipal = mostrarVentana;
        inicio->Cerrada = [] { QCoreApplication::quit(); };
        centrar(*inicio);
        inicio->show();
    }

    const int r = app.exec();
    descargar();
    ventana.reset();
    LiberarInstancia();
    return r;
}

} // namespace quimbal
