// The configuration window's life: what its load sets up and in which order,
// the three window buttons, and the unload that tears it all down.
#include "app/VentanaPrincipal.h"
#include "app/modIconBar.h"
#include "app/subClas.h"
#include "platform/Servicios.h"
#include "profiles/Declaraciones.h"
#include "input/modSonido.h"
#include "profiles/Archivos.h"
#include "profiles/Registros.h"
#include "tests/fakes/AyudaFalsa.h"
#include "tests/fakes/CarpetaDePrueba.h"
#include "tests/fakes/PuertoSerieFalso.h"
#include "tests/fakes/BandejaFalsa.h"
#include "tests/fakes/DialogosFalsos.h"
#include "tests/fakes/LibreriaSonidoFalsa.h"
#include "ui/CicloVentana.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace quimbal;

namespace {
// Every file of a folder with its bytes.
QMap<QString, QByteArray> contenido(const QString& carpeta) {
    QMap<QString, QByteArray> m;
    for (const QFileInfo& f : QDir(carpeta).entryInfoList(QDir::Files)) {
        QFile a(f.absoluteFilePath());
        a.open(QIODevice::ReadOnly);
        m.insert(f.fileName(), a.readAll());
    }
    return m;
}

Usuario perfil(const char* nombre, std::int16_t modo) {
    Usuario u = Usuario::Nuevo(QString::fromLatin1(nombre));
    u.Modo = modo;
    return u;
}

// Records when the capture starts and stops, and how the port stands then.
struct SonidoRegistrado : LibreriaSonidoFalsa {
    SonidoRegistrado(QStringList& r, const PuertoSerieFalso& p) : registro(r), puerto(p) {}
    std::int16_t IniciarCapturaNivellDeSo(HWND hWnd) override {
        registro << QStringLiteral("sonido inicio aperturas=%1").arg(puerto.aperturas);
        return LibreriaSonidoFalsa::IniciarCapturaNivellDeSo(hWnd);
    }
    void FinalitzarCapturaNivellDeSo() override {
        registro << QStringLiteral("sonido fin%1").arg(puerto.abierto ? " puerto abierto" : "");
        LibreriaSonidoFalsa::FinalitzarCapturaNivellDeSo();
    }
    QStringList& registro;
    const PuertoSerieFalso& puerto;
};

TipoConfigInicio config(std::uint8_t puerto, const char* nombre) {
    TipoConfigInicio c;
    c.Puerto = puerto;
    c.NombreUsuario = QString::fromLatin1(nombre);
    return c;
}
} // namespace

class TstCiclo : public QObject {
    Q_OBJECT
    std::unique_ptr<CarpetaDePrueba> carpeta_;
    QStringList registro_;
    PuertoSerieFalso puerto_;

    // Records the load's steps as the window's own handlers and the fakes see
    // them.
    void registrar(VentanaPrincipal& v, BandejaFalsa& bandeja) {
        bandeja.registro = [this, &v](const QString& que) {
            const bool enganchada = v.hWnd()->procedimiento() == &ProcVentanaBandeja;
            registro_ << QStringLiteral("bandeja %1%2%3")
                             .arg(que, enganchada ? " enganchada" : "",
                                  puerto_.abierto ? " puerto abierto" : "");
        };
        auto usuario = v.cboUsuario->Click;
        v.cboUsuario->Click = [this, &v, usuario] {
            registro_ << QStringLiteral("usuario %1 test=%2 listas=%3/%4 catalogo=%5 aperturas=%6")
                             .arg(v.cboUsuario->ListIndex())
                             .arg(ModoTest)
                             .arg(v.cboSwitch->ListCount())
                             .arg(v.cboSonido->ListCount())
                             .arg(v.cboTeclas1->ListCount() + v.cboTeclas2->ListCount())
                             .arg(puerto_.aperturas);
            usuario();
        };
        auto puerto = v.cboSwitch->Click;
        v.cboSwitch->Click = [this, &v, puerto] {
            registro_ << QStringLiteral("puerto %1 usuarios=%2 ultimo=[%3]")
                             .arg(v.cboSwitch->ListIndex())
                             .arg(v.cboUsuario->ListCount())
                             .arg(UltimoUsuario);
            puerto();
        };
    }

private slots:
    void init() {
        carpeta_ = std::make_unique<CarpetaDePrueba>();
        OlvidarAvisoSinBandeja();
        registro_.clear();
        puerto_ = PuertoSerieFalso{};
        puerto_.numero = 0;
    }
    void cleanup() { carpeta_.reset(); }

    void ordenDeCarga() {
        ServiciosDePrueba s;
        BandejaFalsa bandeja;
        SonidoRegistrado sonido(registro_, puerto_);
        carpeta_->escribir(QStringLiteral("usuarios.dat"),
                           RegistroDeUsuario(perfil("General", kModoSwitch)) +
                               RegistroDeUsuario(perfil("ANA", kModoSwitch)) +
                               RegistroDeUsuario(perfil("  ana", kModoSonido)));
        carpeta_->escribir(QStringLiteral("quimbal.dat"), RegistroDeConfig(config(2, " ana ")));
        VentanaPrincipal v;
        v.comPuerto = &puerto_;
        registrar(v, bandeja);
        v.Cargar();
        // Tray icon (before the hook), then test mode, lists and catalogue
        // before the first profile is shown; the settings before the port; the
        // last profile by a case- and space-blind match, the last match
        // winning; the port opened again at the very end.
        const QStringList esperado = {
            QStringLiteral("bandeja agregar"),
            QStringLiteral("usuario 0 test=1 listas=5/10 catalogo=62 aperturas=0"),
            QStringLiteral("puerto 2 usuarios=3 ultimo=[ ana                ]"),
            QStringLiteral("usuario 1 test=1 listas=5/10 catalogo=62 aperturas=1"),
            QStringLiteral("usuario 2 test=1 listas=5/10 catalogo=62 aperturas=1"),
            QStringLiteral("sonido inicio aperturas=1"),
        };
        QCOMPARE(registro_, esperado);
        // Sound hook in front of the tray hook, in front of the window's own.
        QVERIFY(v.hWnd()->procedimiento() == &ProcVentanaSonido);
        QVERIFY(ProcAnteriorSonido == &ProcVentanaBandeja);
        QCOMPARE(v.cboUsuario->ListIndex(), 2);
        QCOMPARE(UsuarioActual, std::int16_t(2));
        QCOMPARE(PuertoSwitch, std::int16_t(2));
        QCOMPARE(puerto_.aperturas, 2);
        QVERIFY(puerto_.abierto);
        QCOMPARE(puerto_.numero, std::int16_t(2));
        QVERIFY(ProcAnteriorBandeja == &Ventana::ProcPredeterminado);
        QVERIFY(ModoTest);
        QCOMPARE(v.cboSwitch->List(4), QStringLiteral("4"));
        QCOMPARE(v.cboSonido->List(9), QStringLiteral("10"));
    }

    void sinPuertoQuedaCerrado() {
        ServiciosDePrueba s;
        BandejaFalsa bandeja;
        SonidoRegistrado sonido(registro_, puerto_);
        carpeta_->escribir(QStringLiteral("quimbal.dat"), RegistroDeConfig(config(0, "nadie")));
        VentanaPrincipal v;
        v.comPuerto = &puerto_;
        v.Cargar();
        QCOMPARE(puerto_.aperturas, 0);
        QVERIFY(!puerto_.abierto);
        QCOMPARE(v.cboUsuario->ListIndex(), 0);
        QCOMPARE(v.cboSwitch->ListIndex(), 0);
    }

    void primerArranqueCreaLosArchivos() {
        ServiciosDePrueba s;
        BandejaFalsa bandeja;
        SonidoRegistrado sonido(registro_, puerto_);
        VentanaPrincipal v;
        v.comPuerto = &puerto_;
        v.Cargar();
        QCOMPARE(carpeta_->leer(QStringLiteral("usuarios.dat")).size(), 106);
        QCOMPARE(carpeta_->leer(QStringLiteral("quimbal.dat")).size(), 21);
        QCOMPARE(v.cboUsuario->Text().trimmed(), QStringLiteral("General"));
        QVERIFY(!v.Descargada());
    }

    void archivoQueNoSeAbreTerminaSinTocarNada_data() {
        QTest::addColumn<QString>("archivo");
        QTest::newRow("usuarios") << "usuarios.dat";
        QTest::newRow("configuracion") << "quimbal.dat";
    }
    void archivoQueNoSeAbreTerminaSinTocarNada() {
        QFETCH(QString, archivo);
        ServiciosDePrueba s;
        BandejaFalsa bandeja;
        SonidoRegistrado sonido(registro_, puerto_);
        // A folder where the data file cannot be a file; the user declines to
        // go on without saving (the fake answers No).
        QVERIFY(QDir(carpeta_->carpeta()).mkdir(archivo));
        VentanaPrincipal v;
        v.comPuerto = &puerto_;
        QSignalSpy fin(&v, &frmSwitch::descargada);
        v.Cargar();
        QCOMPARE(fin.size(), 1);
        QVERIFY(v.Descargada());
        QVERIFY(!v.isVisible());
        QVERIFY(s.dialogos.mensajes.size() >= 1);
        QVERIFY(s.dialogos.mensajes.last().texto.contains(archivo));
        // Everything the load had set up is gone again; nothing was written.
        QVERIFY(bandeja.iconos.isEmpty());
        QVERIFY(v.hWnd()->procedimiento() == &Ventana::ProcPredeterminado);
        QVERIFY(!puerto_.abierto);
        QVERIFY(!sonido.capturando);
        // (A first start has already created the profile file by the time the
        // settings file fails.)
        const auto archivos = contenido(carpeta_->carpeta());
        QCOMPARE(archivos.keys(), archivo == QLatin1String("usuarios.dat")
                                      ? QStringList{}
                                      : QStringList{QStringLiteral("usuarios.dat")});
    }

    void descargaEnOrdenInversoSinEscribir() {
        ServiciosDePrueba s;
        BandejaFalsa bandeja;
        SonidoRegistrado sonido(registro_, puerto_);
        carpeta_->escribir(QStringLiteral("quimbal.dat"), RegistroDeConfig(config(4, "General")));
        VentanaPrincipal v;
        v.comPuerto = &puerto_;
        registrar(v, bandeja);
        v.Cargar();
        QVERIFY(puerto_.abierto);
        const auto antes = contenido(carpeta_->carpeta());
        registro_.clear();
        QSignalSpy fin(&v, &frmSwitch::descargada);
        v.Descargar();
        QCOMPARE(fin.size(), 1);
        // The icon goes while the hook that serves it is still in place; then
        // the hook goes, putting back the procedure the window had.
        QCOMPARE(registro_, (QStringList{QStringLiteral("sonido fin"),
                                         QStringLiteral("bandeja quitar enganchada")}));
        QVERIFY(v.hWnd()->procedimiento() == &Ventana::ProcPredeterminado);
        QVERIFY(bandeja.iconos.isEmpty());
        QCOMPARE(contenido(carpeta_->carpeta()), antes);
        // Once only.
        v.Descargar();
        QCOMPARE(fin.size(), 1);
        QCOMPARE(bandeja.llamadas.size(), 2);
    }

    void salirConEnterContestaNo() {
        ServiciosDePrueba s;
        BandejaFalsa bandeja;
        SonidoRegistrado sonido(registro_, puerto_);
        VentanaPrincipal v;
        v.Cargar();
        const auto antes = contenido(carpeta_->carpeta());
        bool preguntando = false;
        s.dialogos.mientrasAbierto = [&] { preguntando = PreguntandoSalida; };
        // The fake answers a Yes/No box with its default button, as Enter does.
        v.cmdSalir->pulsar();
        QCOMPARE(s.dialogos.mensajes.size(), 1);
        QCOMPARE(s.dialogos.mensajes[0].texto, QStringLiteral("¿Desea salir del programa?"));
        QCOMPARE(s.dialogos.mensajes[0].titulo, QStringLiteral("Atención!"));
        QCOMPARE(s.dialogos.mensajes[0].estilo, 292);
        QVERIFY(preguntando);
        QVERIFY(!PreguntandoSalida);
        QVERIFY(!v.Descargada());
        QCOMPARE(bandeja.iconos.size(), 1);
        QCOMPARE(contenido(carpeta_->carpeta()), antes);
    }

    void salirConSiDescarga() {
        ServiciosDePrueba s;
        BandejaFalsa bandeja;
        SonidoRegistrado sonido(registro_, puerto_);
        VentanaPrincipal v;
        v.Cargar();
        v.show();
        // Changes made in the window reach the files only through Salir.
        v.cboSwitch->setListIndex(3);
        UsuarioEnUso().Retraso = 777;
        s.dialogos.respuestas = {vbYes};
        QSignalSpy fin(&v, &frmSwitch::descargada);
        QTest::keyClick(&v, Qt::Key_Escape); // Esc is Salir
        QCOMPARE(fin.size(), 1);
        const QByteArray usuarios = carpeta_->leer(QStringLiteral("usuarios.dat"));
        QCOMPARE(usuarios.size(), 106);
        QCOMPARE(UsuarioDeRegistro(usuarios.constData()).Retraso, std::int16_t(777));
        const TipoConfigInicio c = ConfigDeRegistro(carpeta_->leer("quimbal.dat").constData());
        QCOMPARE(c.Puerto, std::uint8_t(3));
        QCOMPARE(c.NombreUsuario.recortado(), QStringLiteral("General"));
        QVERIFY(!puerto_.abierto);
        QVERIFY(v.Descargada());
        QVERIFY(!PreguntandoSalida);
        QVERIFY(bandeja.iconos.isEmpty());
        QVERIFY(!v.isVisible());
    }

    void cerrarDesdeLaBarraDeTituloDescarga() {
        ServiciosDePrueba s;
        BandejaFalsa bandeja;
        SonidoRegistrado sonido(registro_, puerto_);
        VentanaPrincipal v;
        v.Cargar();
        v.show();
        v.close();
        QVERIFY(v.Descargada());
        QVERIFY(bandeja.iconos.isEmpty());
        QVERIFY(s.dialogos.mensajes.isEmpty());
    }

    void aceptarOcultaYSigueLaBandeja() {
        ServiciosDePrueba s;
        BandejaFalsa bandeja;
        SonidoRegistrado sonido(registro_, puerto_);
        VentanaPrincipal v;
        v.Cargar();
        QVERIFY(!(v.windowFlags() & Qt::WindowMinimizeButtonHint)); // none with a tray
        v.show();
        // Enter from a control that is not a button presses the default button.
        QTest::keyClick(v.cboUsuario, Qt::Key_Return);
        QVERIFY(!v.isVisible());
        QVERIFY(!ModoTest);
        QCOMPARE(bandeja.iconos.size(), 1);
        QVERIFY(s.dialogos.mensajes.isEmpty());
    }

    void ayudaEnLaCarpetaDelPrograma() {
        ServiciosDePrueba s;
        BandejaFalsa bandeja;
        SonidoRegistrado sonido(registro_, puerto_);
        AyudaFalsa ayuda;
        VentanaPrincipal v;
        v.Cargar();
        const QString actual = QDir::currentPath();
        QDir::setCurrent(QDir::tempPath());
        v.cmdAyuda->pulsar();
        QDir::setCurrent(actual);
        QCOMPARE(ayuda.llamadas.size(), 1);
        QVERIFY(ayuda.llamadas[0].hWnd == v.hWnd());
        QCOMPARE(ayuda.llamadas[0].archivo, carpeta_->ruta("quimbal.hlp"));
        QCOMPARE(ayuda.llamadas[0].comando, 3u);
        QCOMPARE(ayuda.llamadas[0].datos, std::uintptr_t(0));
    }

    void ultimoUsuario_data() {
        QTest::addColumn<QStringList>("entradas");
        QTest::addColumn<QString>("ultimo");
        QTest::addColumn<int>("seleccion");
        QTest::addColumn<QList<int>>("mostrados");
        const QStringList tres = {"General", "Ana", "Luis"};
        QTest::newRow("minusculas") << tres << "general             " << 0 << QList<int>{0};
        QTest::newRow("espacios") << tres << "  luis" << 2 << QList<int>{2};
        QTest::newRow("ninguno") << tres << "Pedro" << 0 << QList<int>{};
        QTest::newRow("vacio") << tres << "                    " << 0 << QList<int>{};
        QTest::newRow("el ultimo que coincide")
            << QStringList{"General", "ANA", "Luis", "ana"} << "Ana" << 3 << QList<int>{1, 3};
    }
    void ultimoUsuario() {
        QFETCH(QStringList, entradas);
        QFETCH(QString, ultimo);
        QFETCH(int, seleccion);
        QFETCH(QList<int>, mostrados);
        Lista l;
        for (const QString& e : entradas)
            l.AddItem(e);
        QList<int> clics;
        l.Click = [&] { clics << l.ListIndex(); };
        l.setListIndex(0);
        clics.clear();
        QList<int> vistos;
        SeleccionarUltimoUsuario(l, ultimo, [&](int i) { vistos << i; });
        QCOMPARE(l.ListIndex(), seleccion);
        QCOMPARE(vistos, mostrados);
        QCOMPARE(clics, mostrados);
    }
};

QTEST_MAIN(TstCiclo)
#include "tst_ciclo.moc"
