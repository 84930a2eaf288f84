#include "app/Programa.h"

#include "app/VentanaPrincipal.h"
#include "app/frmInicio.h"
#include "platform/Fuentes.h"
#include "platform/Inyector.h"
#include "platform/Servicios.h"
#include "platform/qt/AyudaQt.h"
#include "platform/qt/BandejaQt.h"
#include "platform/qt/DialogosQt.h"
#include "platform/qt/PuertoSerieQt.h"
#include "platform/sonido/ComponenteSonido.h"
#include "profiles/InstanciaUnica.h"

#include <QApplication>
#include <QIcon>
#include <QPointer>
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

    DialogosQt dialogos;
    BucleQt bucle;
    BandejaQt bandeja;
    AyudaQt ayuda;
    servicios().dialogos = &dialogos;
    servicios().bucle = &bucle;
    servicios().bandeja = &bandeja;
    servicios().ayuda = &ayuda;
    // Clicks and keystrokes for the focused application; a session without
    // any way to inject them is told so once.
    QString avisoInyector;
    const std::unique_ptr<Inyector> inyector = CrearInyector(&avisoInyector);
    servicios().inyector = inyector.get();
    // One running copy per folder: a second one ends before touching the files.
    if (!ComprobarInstanciaUnica()) {
        servicios() = Servicios{};
        return 1;
    }
    if (!avisoInyector.isEmpty())
        MsgBox(avisoInyector, 48);
    PuertoSerieQt puerto;
    servicios().puerto = &puerto;
    sonido::LibreriaSonidoQt sonido;
    servicios().sonido = &sonido;

    std::unique_ptr<VentanaPrincipal> ventana;
    // Continuar: the start screen is gone; the configuration window loads
    // and shows, unless its load could not go on.
    auto mostrarVentana = [&] {
        ventana = std::make_unique<VentanaPrincipal>();
        ventana->comPuerto = &puerto;
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

    auto* inicio = new frmInicio;
    inicio->MostrarVentanaPrincipal = mostrarVentana;
    inicio->Cerrada = [] { QCoreApplication::quit(); };
    centrar(*inicio);
    inicio->show();

    const int r = app.exec();
    descargar();
    ventana.reset();
    servicios() = Servicios{};
    return r;
}

} // namespace quimbal
