// The configuration window's life as the program runs it: what its load sets
// up and in which order, the three window buttons, the unload that tears it
// all down, and the icon in the notification area that brings it back.
#include "tests/fakes/CarpetaDePrueba.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace quimbal;

namespace {
// Every file of a folder with its bytes.
QMap<QString, QByteArray> contenido(const QString& carpeta) {
    QMap<QString, QByteArray> m;
    for (const QFileInfo& f : QDir(carpeta).entryInfoList(QDir::Files)) {
        QFile a(f.absoluteFilePath());
        if (a.open(QIODevice::ReadOnly))
            m.insert(f.fileName(), a.readAll());
    }
    return m;
}

Usuario perfil(const char* nombre, std::int16_t modo) {
    Usuario u = Usuario::Nuevo(QString::fromLatin1(nombre));
    u.Modo = modo;
    return u;
}

QByteArray config(std::uint8_t puerto, const char* nombre) {
    TipoConfigInicio c;
    c.Puerto = puerto;
    c.NombreUsuario = QString::fromLatin1(nombre);
    return RegistroDeConfig(c);
}

} // namespace

class TstCiclo : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        // The program's own icon, as the program sets it for every window.
        QApplication::setWindowIcon(QIcon(QStringLiteral(":/quimbal/icono.png")));
        QVERIFY(!QApplication::windowIcon().isNull());
    }

    void ordenDeCargaYDescarga() {
        ProgramaDePrueba p;
        QStringList log;
        auto anotar = [&](const QString& que) {
            log << que + (p.entradas.ModoTest ? QStringLiteral(" prueba") : QString());
        };
        p.bandeja.registro = [&](const QString& que) { anotar(QStringLiteral("bandeja ") + que); };
        p.puerto.alAbrirOCerrar = [&](const QString& que) { anotar(que); };
        p.sonido.alIniciarODetener = [&](const QString& que) { anotar(que); };
        p.carpeta.escribir(QStringLiteral("usuarios.dat"),
                           RegistroDeUsuario(perfil("General", kModoSwitch)) +
                               RegistroDeUsuario(perfil("ANA", kModoSwitch)) +
                               RegistroDeUsuario(perfil("  ana", kModoSonido)));
        p.carpeta.escribir(QStringLiteral("quimbal.dat"), config(2, " ana "));
        p.cargar();
        // The tray icon first; the saved port opened when chosen; the sound
        // after the icon; the port opened again at the very end.
        QCOMPARE(log, (QStringList{"bandeja mostrar Tocabrix", "cerrar prueba", "abrir 2 prueba",
                                   "iniciar prueba", "cerrar prueba", "abrir 2 prueba"}));
        // The last profile by a case- and space-blind match, the last match
        // winning: shown in sound mode.
        QCOMPARE(p.perfiles.actual(), 2);
        QCOMPARE(p.ventana->cboUsuario->currentIndex(), 2);
        QVERIFY(p.ventana->optSonido->isChecked());
        QVERIFY(!p.entradas.Sondeando());
        QCOMPARE(p.perfiles.puerto(), 2);
        QCOMPARE(p.ventana->cboSwitch->currentIndex(), 2);
        QCOMPARE(p.ventana->cboSwitch->count(), 5);
        QCOMPARE(p.ventana->cboSonido->itemText(9), QStringLiteral("10"));
        QCOMPARE(p.ventana->cboTeclas1->count() + p.ventana->cboTeclas2->count(), 62);
        QVERIFY(p.dialogos.mensajes.isEmpty());

        // Unload: port, sound, icon, in that order; nothing written; once.
        const auto antes = contenido(p.carpeta.carpeta());
        log.clear();
        QSignalSpy fin(p.ventana.get(), &frmSwitch::descargada);
        p.ventana->Descargar();
        p.ventana->Descargar();
        QCOMPARE(fin.size(), 1);
        QCOMPARE(log, (QStringList{"cerrar prueba", "detener prueba", "bandeja quitar prueba"}));
        QCOMPARE(contenido(p.carpeta.carpeta()), antes);
        QVERIFY(!p.bandeja.pulsar(BotonBandeja::Izquierdo));
    }

    void primerArranqueYSinPuerto() {
        ProgramaDePrueba p;
        p.cargar();
        QCOMPARE(p.carpeta.leer(QStringLiteral("usuarios.dat")).size(), 106);
        QCOMPARE(p.carpeta.leer(QStringLiteral("quimbal.dat")).size(), 21);
        QCOMPARE(p.ventana->cboUsuario->currentText().trimmed(), QStringLiteral("General"));
        QVERIFY(p.puerto.estaAbierto); // a new settings record names COM1
        QCOMPARE(p.puerto.numero, 1);
        QVERIFY(p.entradas.Sondeando());

        ProgramaDePrueba q;
        q.carpeta.escribir(QStringLiteral("quimbal.dat"), config(0, "nadie"));
        q.cargar();
        QCOMPARE(q.puerto.aperturas, 0);
        QCOMPARE(q.ventana->cboUsuario->currentIndex(), 0);
        QCOMPARE(q.ventana->cboSwitch->currentIndex(), 0);
        QCOMPARE(q.ventana->cboSwitch->toolTip(),
                 QStringLiteral("Sin puerto: los switches no se leen"));
    }

    void archivoQueNoSeAbreTerminaSinTocarNada_data() {
        QTest::addColumn<QString>("archivo");
        QTest::newRow("usuarios") << "usuarios.dat";
        QTest::newRow("configuracion") << "quimbal.dat";
    }
    void archivoQueNoSeAbreTerminaSinTocarNada() {
        QFETCH(QString, archivo);
        ProgramaDePrueba p;
        // A folder where the data file cannot be a file; the user declines to
        // go on without saving (the fake answers No).
        QVERIFY(QDir(p.carpeta.carpeta()).mkdir(archivo));
        QSignalSpy fin(p.ventana.get(), &frmSwitch::descargada);
        p.cargar();
        QCOMPARE(fin.size(), 1);
        QVERIFY(!p.ventana->isVisible());
        QVERIFY(p.dialogos.mensajes.last().texto.contains(archivo));
        // Everything the load had set up is gone again; nothing was written
        // (a first start has created the profile file by the time the
        // settings file fails).
        QVERIFY(!p.bandeja.visible);
        QVERIFY(!p.puerto.estaAbierto);
        QVERIFY(!p.sonido.capturando);
        QCOMPARE(contenido(p.carpeta.carpeta()).keys(),
                 archivo == QLatin1String("usuarios.dat")
                     ? QStringList{}
                     : QStringList{QStringLiteral("usuarios.dat")});
    }

    void salir() {
        ProgramaDePrueba p;
        p.cargar();
        p.ventana->show();
        const auto antes = contenido(p.carpeta.carpeta());
        bool preguntando = false;
        p.dialogos.mientrasAbierto = [&] { preguntando = p.ventana->PreguntandoSalida; };
        // The fake answers a Yes/No box with its default button, as Enter does.
        p.ventana->cmdSalir->click();
        QCOMPARE(p.dialogos.mensajes.size(), 1);
        QCOMPARE(p.dialogos.mensajes[0].texto, QStringLiteral("¿Desea salir del programa?"));
        QCOMPARE(p.dialogos.mensajes[0].titulo, QStringLiteral("Atención!"));
        QCOMPARE(p.dialogos.mensajes[0].estilo, 292);
        QVERIFY(preguntando);
        QVERIFY(!p.ventana->PreguntandoSalida);
        QVERIFY(!p.ventana->Descargada());
        QCOMPARE(contenido(p.carpeta.carpeta()), antes);

        // Changes made in the window reach the files only through Salir; Esc
        // is Salir.
        p.ventana->cboSwitch->setCurrentIndex(3);
        p.ventana->cboSwitch_Click();
        p.perfiles.fijarRetraso(777);
        p.dialogos.respuestas = {vbYes};
        QTest::keyClick(p.ventana.get(), Qt::Key_Escape);
        QVERIFY(p.ventana->Descargada());
        const QByteArray usuarios = p.carpeta.leer(QStringLiteral("usuarios.dat"));
        QCOMPARE(usuarios.size(), 106);
        QCOMPARE(UsuarioDeRegistro(usuarios.constData()).Retraso, std::int16_t(777));
        QCOMPARE(p.carpeta.leer(QStringLiteral("quimbal.dat")), config(3, "General"));
        QVERIFY(!p.puerto.estaAbierto);
        QVERIFY(!p.bandeja.visible);
        QVERIFY(!p.ventana->isVisible());

        // Closing from the title bar unloads without asking or saving.
        ProgramaDePrueba q;
        q.cargar();
        q.ventana->show();
        q.ventana->close();
        QVERIFY(q.ventana->Descargada());
        QVERIFY(!q.bandeja.visible);
        QVERIFY(q.dialogos.mensajes.isEmpty());
    }

    void ayudaEnLaCarpetaDelPrograma() {
        ProgramaDePrueba p;
        p.cargar();
        const QString actual = QDir::currentPath();
        QDir::setCurrent(QDir::tempPath());
        p.ventana->cmdAyuda->click();
        QDir::setCurrent(actual);
        QCOMPARE(p.ayuda.archivos, QStringList{p.carpeta.ruta(QStringLiteral("quimbal.hlp"))});
        QVERIFY(p.dialogos.mensajes.isEmpty());
        p.ayuda.rechazo = QStringLiteral("No se encuentra el archivo de ayuda");
        p.ventana->cmdAyuda->click();
        QCOMPARE(p.dialogos.mensajes.size(), 1);
        QCOMPARE(p.dialogos.mensajes[0].texto, p.ayuda.rechazo);
        QCOMPARE(p.dialogos.mensajes[0].titulo, QStringLiteral("Ayuda"));
    }

    void sonidoQueNoArranca() {
        ProgramaDePrueba p;
        p.sonido.arranca = false;
        p.cargar();
        QVERIFY(!p.ventana->Descargada());
        QCOMPARE(p.dialogos.mensajes.size(), 1);
        QCOMPARE(p.dialogos.mensajes[0].texto,
                 QStringLiteral("No se ha podido iniciar la DLL de reconocimiento de sonido!"));
        QCOMPARE(p.dialogos.mensajes[0].estilo, vbOKOnly);
        QCOMPARE(p.dialogos.mensajes[0].titulo, TituloAplicacion());
    }

    void aceptarYVolverDesdeLaBandeja_data() {
        QTest::addColumn<BotonBandeja>("boton");
        QTest::addColumn<bool>("reacciona");
        QTest::newRow("izquierdo") << BotonBandeja::Izquierdo << true;
        QTest::newRow("doble izquierdo") << BotonBandeja::DobleIzquierdo << true;
        QTest::newRow("derecho") << BotonBandeja::Derecho << true;
        QTest::newRow("central") << BotonBandeja::Medio << false;
    }
    void aceptarYVolverDesdeLaBandeja() {
        QFETCH(BotonBandeja, boton);
        QFETCH(bool, reacciona);
        ProgramaDePrueba p;
        p.cargar();
        QVERIFY(!(p.ventana->windowFlags() & Qt::WindowMinimizeButtonHint)); // none with a tray
        p.ventana->show();
        QVERIFY(p.entradas.ModoTest);
        // Enter from a control that is not a button presses the default button.
        QTest::keyClick(p.ventana->cboUsuario, Qt::Key_Return);
        QVERIFY(!p.ventana->isVisible());
        QVERIFY(!p.entradas.ModoTest);
        QVERIFY(p.bandeja.visible);
        QCOMPARE(p.bandeja.tip, QStringLiteral("Tocabrix"));
        QVERIFY(p.bandeja.conIcono);
        QVERIFY(p.bandeja.pulsar(boton));
        QCOMPARE(p.ventana->isVisible(), reacciona);
        QCOMPARE(p.entradas.ModoTest, reacciona);
        if (reacciona)
            QCOMPARE(p.ventana->focusWidget(), p.ventana->cmdAceptar);

        // A press while the window is shown still puts test mode on and the
        // focus on Aceptar.
        p.ventana->show();
        p.ventana->txtLetra1->setFocus();
        p.entradas.ModoTest = false;
        p.bandeja.pulsar(BotonBandeja::Izquierdo);
        QVERIFY(p.entradas.ModoTest);
        QCOMPARE(p.ventana->focusWidget(), p.ventana->cmdAceptar);
    }

    void laBandejaCallaMientrasSePreguntaNombreOSalida() {
        ProgramaDePrueba p;
        p.cargar();
        p.ventana->cmdAceptar_Click();
        // Presses while the name prompt, the "in use" box or the exit
        // confirmation is open are dropped, not replayed afterwards.
        p.dialogos.mientrasAbierto = [&] { p.bandeja.pulsar(BotonBandeja::Izquierdo); };
        p.dialogos.textos = {QStringLiteral("General")};
        p.ventana->cmdAgregar_Click();
        p.ventana->cmdSalir_Click();
        QCOMPARE(p.dialogos.preguntas.size() + p.dialogos.mensajes.size(), 3);
        QCoreApplication::processEvents();
        QVERIFY(!p.ventana->isVisible());
        QVERIFY(!p.entradas.ModoTest);
        // The delete confirmation raises no flag: a press there shows the window.
        p.dialogos.textos = {QStringLiteral("Ana")};
        p.dialogos.mientrasAbierto = nullptr;
        p.ventana->cmdAgregar_Click();
        p.dialogos.mientrasAbierto = [&] { p.bandeja.pulsar(BotonBandeja::Derecho); };
        p.ventana->cmdEliminar_Click();
        QVERIFY(p.ventana->isVisible());
        QVERIFY(p.entradas.ModoTest);
    }

    void pulsarConMasOpcionesAbierto() {
        ProgramaDePrueba p;
        p.cargar();
        p.ventana->show();
        p.ventana->ActivaOpcionSonido();
        QVERIFY(p.ventana->cmdMas->isEnabled());
        bool reaccion = false, sigueAbierto = false;
        QTimer::singleShot(0, [&] {
            auto* dialogo = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialogo);
            p.entradas.ModoTest = false;
            p.bandeja.pulsar(BotonBandeja::Izquierdo); // raises no flag: it reacts
            reaccion = p.entradas.ModoTest && p.ventana->isVisible();
            sigueAbierto = QApplication::activeModalWidget() == dialogo;
            QTest::keyClick(dialogo, Qt::Key_Escape);
        });
        p.ventana->cmdMas->click();
        QVERIFY(reaccion);
        QVERIFY(sigueAbierto);
        QVERIFY(!QApplication::activeModalWidget());
    }

    void sinAreaDeNotificacionSeMinimiza() {
        ProgramaDePrueba p;
        p.bandeja.hayArea = false;
        p.cargar();
        // The minimise button is there before the window is first shown:
        // adding it later re-creates the window under the window manager.
        QVERIFY(p.ventana->windowFlags() & Qt::WindowMinimizeButtonHint);
        p.ventana->show();
        const WId antes = p.ventana->winId();
        p.ventana->cmdAceptar_Click();
        QCOMPARE(p.ventana->winId(), antes);
        QVERIFY(!p.entradas.ModoTest);
        QVERIFY(p.ventana->isVisible());
        QVERIFY(p.ventana->windowState() & Qt::WindowMinimized);
        QCOMPARE(p.dialogos.mensajes.size(), 1);
        QVERIFY(p.dialogos.mensajes[0].texto.contains(QStringLiteral("área de notificación")));
        QCOMPARE(p.dialogos.mensajes[0].estilo, 48);
        // Restoring it is reported as a press on the icon.
        p.bandeja.pulsar(BotonBandeja::Izquierdo);
        QVERIFY(p.entradas.ModoTest);
        QVERIFY(!(p.ventana->windowState() & Qt::WindowMinimized));
        // The user is told once.
        p.ventana->cmdAceptar_Click();
        QCOMPARE(p.dialogos.mensajes.size(), 1);
    }
};

QTEST_MAIN(TstCiclo)
#include "tst_ciclo.moc"
