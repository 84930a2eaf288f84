#include "app/Programa.h"

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
#include "profiles/InstanciaUnica.h"
#include "profiles/Perfiles.h"
#include "ui/Fuentes.h"

#include <QApplication>
#include <QIcon>
#include <QScreen>
#include <QSessionManager>
#include <memory>

namespace quimbal {

namespace {
void centrar(QWidget& w) {
    if (QScreen* s = w.screen()) {
        const QRect r = s->availableGeometry();
        w.move(r.center() - w.rect().center());
    }
}
} // namespace

int EjecutarPrograma(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quimbal"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quimbal/icono.png")));
    QGuiApplication::setDesktopFileName(QStringLiteral("quimbal"));
    InstalarSustitucionesDeFuentes();
    // The window hides to the tray: closing a message box while it is hidden
    // must not end the program. It ends when the main window unloads.
    QApplication::setQuitOnLastWindowClosed(false);

    // The data files, the help file and the port entries live in the
    // program's folder, whatever the current directory is.
    const QString carpeta = QCoreApplication::applicationDirPath();
    DialogosQt dialogos;
    // Clicks and keystrokes for the focused application; a session without
    // any way to inject them is told so once.
    QString avisoInyector;
    const std::unique_ptr<Inyector> inyector = CrearInyector(avisoInyector);
    // One running copy per folder: a second one ends before touching the files.
    if (TomarInstancia(carpeta) == Instancia::OtraEnMarcha) {
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
    Entradas entradas(perfiles, *puerto, *sonido, *inyector);

    std::unique_ptr<VentanaPrincipal> ventana;
    // Continuar: the start screen is gone; the configuration window loads
    // and shows, unless its load could not go on.
    auto mostrarVentana = [&] {
        ventana = std::make_unique<VentanaPrincipal>(perfiles, archivos, entradas, servicios);
        QObject::connect(ventana.get(), &frmSwitch::descargada, &app, &QApplication::quit,
                         Qt::QueuedConnection);
        ventana->Cargar();
        if (ventana->Descargada())
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

    auto* inicio = new frmInicio(dialogos);
    inicio->MostrarVentanaPrincipal = mostrarVentana;
    inicio->Cerrada = [] { QCoreApplication::quit(); };
    centrar(*inicio);
    inicio->show();

    const int r = app.exec();
    descargar();
    ventana.reset();
    LiberarInstancia();
    return r;
}

} // namespace quimbal
