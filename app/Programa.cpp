#include "app/Programa.h"

#include "app/LineaDeOrdenes.h"
#include "app/VentanaPrincipal.h"
#include "app/frmInicio.h"
#include "input/Entradas.h"
#include "platform/CajaUsb.h"
#include "platform/Confirmacion.h"
#include "platform/CopiaUnica.h"
#include "platform/FinDeSesion.h"
#include "platform/Inyector.h"
#include "platform/Notificaciones.h"
#include "platform/Pantalla.h"
#include "platform/qt/AyudaQt.h"
#include "platform/qt/BandejaQt.h"
#include "platform/qt/DialogosQt.h"
#include "platform/NivelSonido.h"
#include "platform/PuertoSerie.h"
#include "profiles/Archivos.h"
#include "profiles/Carpetas.h"
#include "profiles/InstanciaUnica.h"
#include "profiles/Perfiles.h"
#include "ui/Accesible.h"
#include "ui/Fuentes.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QPointer>
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

QString TextoOtraCopia() {
    return QStringLiteral("Quimbal ya está en funcionamiento.\n\nUse el programa que está "
                          "abierto: si no ve su ventana, pulse su icono en el área de "
                          "notificación de la barra de tareas.");
}

// A further copy of the session: started at login it ends quietly; started
// by the user it asks the running copy for its window, and only when that
// copy does not answer says so in a box.
int OtraCopiaEnMarcha(CopiaUnica& copia, bool bandeja) {
    if (bandeja) {
        std::fputs("quimbal: ya hay una copia en marcha en esta sesión; esta termina\n", stderr);
        return 0;
    }
    if (copia.pedirVentana()) {
        std::fputs("quimbal: ya hay una copia en marcha en esta sesión: se muestra su ventana\n",
                   stderr);
        return 0;
    }
    DialogosQt().MsgBox(TextoOtraCopia(), vbExclamation);
    return 1;
}

// The window loaded out of sight: hidden in the notification area once there
// is one; where none comes within kEsperaBandejaMs, minimised to the task bar.
// The inputs act meanwhile.
void EsperarBandeja(QApplication& app, Bandeja& bandeja, VentanaPrincipal& ventana) {
    if (bandeja.hayAreaNotificacion()) {
        ventana.cmdAceptar_Click();
        return;
    }
    auto* espera = new QTimer(&app);
    auto esperado = std::make_shared<int>(0);
    QObject::connect(espera, &QTimer::timeout, &app, [&bandeja, &ventana, espera, esperado] {
        const bool hay = bandeja.hayAreaNotificacion();
        if (!hay && (*esperado += kPasoEsperaMs) < kEsperaBandejaMs)
            return;
        espera->deleteLater();
        if (ventana.Descargada() || ventana.entradas().ModoTest)
            return; // gone, or brought into sight meanwhile
        // The icon made before the area was there is made again in it.
        if (hay)
            ventana.AgregarIconoBandeja();
        ventana.cmdAceptar_Click();
    });
    espera->start(kPasoEsperaMs);
}

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
    // Without a display the toolkit would abort, in English.
    if (QString motivo; !HayPantalla(motivo)) {
        std::fprintf(stderr, "quimbal: %s\n", qPrintable(motivo));
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quimbal"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quimbal/icono.png")));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quimbal.quimbal"));
    InstalarSustitucionesDeFuentes();
    InstalarAccesibilidad();
    // The window hides to the tray: closing a message box while it is hidden
    // must not end the program. It ends when the main window unloads.
    QApplication::setQuitOnLastWindowClosed(false);

    // One copy per user session, whatever its folder: a later one touches
    // no file. Started again by hand, it brings the running copy's window
    // (the keyboard's way back to it); started at login, it just goes.
    CopiaUnica copia;
    if (copia.tomar() == CopiaUnica::Estado::OtraEnMarcha)
        return OtraCopiaEnMarcha(copia, ordenes.bandeja);

    // The data files, the lock and the port entries live in the data folder,
    // whatever the current directory is.
    const QString carpetaPrograma = QCoreApplication::applicationDirPath();
    const QString carpeta =
        CarpetaDeDatos(carpetaPrograma, QStringLiteral(QUIMBAL_CARPETA_INSTALADA));
    DialogosQt dialogos;
    // One running copy per folder as well: two users sharing a portable
    // folder never write it at once.
    const Instancia instancia = TomarInstancia(carpeta);
    if (instancia == Instancia::OtraEnMarcha) {
        std::fprintf(stderr, "quimbal: otra copia del programa usa la carpeta %s\n",
                     qPrintable(carpeta));
        if (!ordenes.bandeja)
            dialogos.MsgBox(TextoOtraCopia(), vbExclamation);
        return 1;
    }
    // Clicks and keystrokes for the focused application; a session without
    // any way to inject them is told so once.
    QString avisoInyector;
    const std::unique_ptr<Inyector> inyector = CrearInyector(avisoInyector);
    if (!avisoInyector.isEmpty() && !ordenes.bandeja)
        dialogos.MsgBox(avisoInyector, vbExclamation);

    BandejaQt bandeja;
    AyudaQt ayuda;
    const std::unique_ptr<Notificaciones> notificaciones = CrearNotificaciones(bandeja);
    const std::unique_ptr<PuertoSerie> puerto = CrearPuertoSerie(carpeta);
    const std::unique_ptr<NivelSonido> sonido = CrearNivelSonido();
    const Servicios servicios{dialogos, *inyector, *puerto,        *sonido,
                              bandeja,  ayuda,     *notificaciones};
    Perfiles perfiles;
    ArchivosDatos archivos(carpeta);
    // A folder that takes no lock (a full disk) is one where nothing is saved.
    if (instancia == Instancia::SinBloqueo)
        archivos.FijarSinBloqueo();
    Entradas entradas(perfiles, *puerto, *sonido, *inyector);
    entradas.FabricaConfirmacion = [] { return CrearConfirmacion(); };
    const std::unique_ptr<CajaUsb> caja = CrearCajaUsb();
    entradas.ConectarCaja(caja.get());

    std::unique_ptr<VentanaPrincipal> ventana;
    QPointer<frmInicio> inicio;
    // Continuar: the start screen is gone; the configuration window loads
    // and shows, unless its load could not go on.
    auto cargarVentana = [&](bool fueraDeVista) {
        ventana = std::make_unique<VentanaPrincipal>(perfiles, archivos, entradas, servicios);
        ventana->ArchivoAyuda = ArchivoAyuda(carpetaPrograma);
        QObject::connect(ventana.get(), &frmSwitch::descargada, &app, &QApplication::quit,
                         Qt::QueuedConnection);
        if (fueraDeVista)
            ventana->ArrancarFueraDeVista();
        ventana->Cargar();
        return !ventana->Descargada();
    };
    auto mostrarVentana = [&] {
        if (!cargarVentana(false))
            return;
        centrar(*ventana);
        ventana->show();
    };
    auto cargada = [&] { return ventana && ventana->Cargada() && !ventana->Descargada(); };
    // The session ends (logout, shutdown, a signal): what was changed and
    // accepted is saved as "Salir" saves it, then the window unloads as any
    // unload does.
    auto terminar = [&] {
        if (cargada())
            ventana->TerminarSesion();
        QCoreApplication::quit();
    };
    const std::unique_ptr<FinDeSesion> fin = CrearFinDeSesion();
    QObject::connect(fin.get(), &FinDeSesion::pedido, &app, [&](const QString& causa) {
        std::fprintf(stderr, "quimbal: fin pedido (%s): se guardan los cambios y se termina\n",
                     qPrintable(causa));
        terminar();
    });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &app,
                     [&](QSessionManager&) { terminar(); });
    // Closing the window otherwise saves nothing.
    auto descargar = [&] {
        if (ventana)
            ventana->Descargar();
    };
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &app, descargar);
    // Another copy started by the user: this one's window, as a press on the
    // icon brings it, and the keyboard with it.
    QObject::connect(&copia, &CopiaUnica::ventanaPedida, &app, [&] {
        QWidget* traer = inicio;
        if (cargada()) {
            ventana->EventoBandeja(BotonBandeja::Izquierdo);
            // A question open in the window keeps it: the question comes up.
            traer = QApplication::activeModalWidget();
            if (!traer && ventana->isVisible())
                traer = ventana.get();
        }
        if (traer) {
            traer->raise();
            traer->activateWindow();
        }
    });

    if (ordenes.bandeja) {
        // Straight into the notification area, as after "Aceptar": nothing
        // to leave for a user who cannot use a keyboard, and the inputs act
        // at once.
        if (cargarVentana(true)) {
            if (!avisoInyector.isEmpty())
                ventana->avisos().avisar(
                    Incidencia::Inyeccion,
                    QStringLiteral("no se pueden emular clics ni teclas en todas las ventanas: "
                                   "falta el permiso para /dev/uinput"),
                    avisoInyector, vbExclamation);
            entradas.ModoTest = false;
            EsperarBandeja(app, bandeja, *ventana);
        }
    } else {
        inicio = new frmInicio(dialogos);
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
