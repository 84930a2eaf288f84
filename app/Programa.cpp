#include "app/Programa.h"

#include "input/modSonido.h"
#include "platform/Fuentes.h"
#include "platform/Inyector.h"
#include "platform/Servicios.h"
#include "platform/qt/DialogosQt.h"
#include "platform/qt/PuertoSerieQt.h"
#include "platform/sonido/ComponenteSonido.h"
#include "profiles/InstanciaUnica.h"
#include "ui/frmSwitch.h"

#include <QApplication>
#include <QScreen>

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
    InstalarSustitucionesDeFuentes();
    // The window hides to the tray: closing a message box while it is hidden
    // must not end the program. It ends when the main window unloads.
    QApplication::setQuitOnLastWindowClosed(false);

    DialogosQt dialogos;
    BucleQt bucle;
    servicios().dialogos = &dialogos;
    servicios().bucle = &bucle;
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

    frmSwitch ventana;
    QObject::connect(&ventana, &frmSwitch::descargada, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    ventana.comPuerto = &puerto;
    ventana.Cargar();
    // The window's load starts the sound capture once it does so itself;
    // until then it starts here, after the load, and stops after the loop.
    const bool capturaAqui = ventana.hWnd()->procedimiento() != &ProcVentanaSonido;
    if (capturaAqui)
        IniciarCapturaSonido(ventana.hWnd());
    centrar(ventana);
    ventana.show();
    const int r = app.exec();
    if (capturaAqui && ProcAnteriorSonido)
        FinalizarCapturaSonido(ventana.hWnd());
    servicios() = Servicios{};
    return r;
}

} // namespace quimbal
