// A program started straight into the notification area: every problem of
// the start is announced without a box (a notification, a tooltip line) and
// the inputs work at once; the box comes once when the window is next in
// sight, if the problem still holds. And the session's end saves and unloads.
#include "actions/Catalogo.h"
#include "tests/fakes/CarpetaDePrueba.h"

#include <QTest>

using namespace quimbal;

namespace {
QByteArray perfilSwitch(const char* nombre) {
    Usuario u = Usuario::Nuevo(QString::fromLatin1(nombre));
    u.Modo = kModoSwitch;
    return RegistroDeUsuario(u);
}

QByteArray config(std::uint8_t puerto) {
    TipoConfigInicio c = ConfigPorDefecto();
    c.Puerto = puerto;
    return RegistroDeConfig(c);
}

enum class Caso { SinSonido, UsuariosEsCarpeta, UsuariosDeMas, PuertoDesconocido, PuertoFalla };

// Sets the problem up in the program's folder or fakes.
void preparar(ProgramaDePrueba& p, Caso c) {
    switch (c) {
    case Caso::SinSonido:
        p.sonido.arranca = false;
        break;
    case Caso::UsuariosEsCarpeta:
        QVERIFY(QDir().mkdir(p.carpeta.ruta(QStringLiteral("usuarios.dat"))));
        break;
    case Caso::UsuariosDeMas: {
        QByteArray muchos;
        for (int i = 0; i < 30; ++i)
            muchos += RegistroDeUsuario(Usuario::Nuevo(QStringLiteral("U%1").arg(i)));
        p.carpeta.escribir(QStringLiteral("usuarios.dat"), muchos);
        break;
    }
    case Caso::PuertoDesconocido:
        p.carpeta.escribir(QStringLiteral("quimbal.dat"), config(200));
        break;
    case Caso::PuertoFalla:
        p.carpeta.escribir(QStringLiteral("usuarios.dat"), perfilSwitch("General"));
        p.carpeta.escribir(QStringLiteral("quimbal.dat"), config(3));
        p.puerto.puertosExistentes = {1};
        break;
    }
}
} // namespace

class TstFueraDeVista : public QObject {
    Q_OBJECT
private slots:
    void problemasDelArranque_data() {
        QTest::addColumn<Caso>("caso");
        QTest::addColumn<QString>("caja");  // what the later box says
        QTest::addColumn<QString>("linea"); // what the tooltip's line says
        QTest::newRow("sin servidor de sonido")
            << Caso::SinSonido << "DLL de reconocimiento de sonido"
            << "captura de sonido";
        QTest::newRow("usuarios.dat es una carpeta")
            << Caso::UsuariosEsCarpeta << "No se puede abrir el archivo de usuarios"
            << "no se guardarán";
        QTest::newRow("usuarios de más") << Caso::UsuariosDeMas << "solo 21"
                                         << "30 usuarios";
        QTest::newRow("puerto 200") << Caso::PuertoDesconocido << "COM200"
                                    << "COM200";
        QTest::newRow("puerto que no abre") << Caso::PuertoFalla << "COM3"
                                            << "COM3";
    }
    void problemasDelArranque() {
        QFETCH(Caso, caso);
        QFETCH(QString, caja);
        QFETCH(QString, linea);
        ProgramaDePrueba p;
        preparar(p, caso);
        p.ventana->ArrancarFueraDeVista();
        p.cargar();
        p.ventana->cmdAceptar_Click();
        // Running, without a box, announced once.
        QVERIFY(!p.ventana->Descargada());
        QVERIFY(p.dialogos.mensajes.isEmpty());
        QCOMPARE(p.notificaciones.mostradas.size(), 1);
        QVERIFY2(p.notificaciones.mostradas[0].contains(caja),
                 qPrintable(p.notificaciones.mostradas[0]));
        const QStringList lineas = p.bandeja.tip.split(QLatin1Char('\n'));
        QCOMPARE(lineas.size(), 2);
        QCOMPARE(lineas[0], QStringLiteral("Tocabrix"));
        QVERIFY2(lineas[1].contains(linea), qPrintable(lineas[1]));
        QCOMPARE(p.ventana->isVisible(), false);
        QCOMPARE(p.entradas.ModoTest, false);
        if (caso == Caso::PuertoDesconocido)
            QCOMPARE(p.perfiles.puerto(), 0);
        // Brought into sight: its box, once.
        p.bandeja.pulsar(BotonBandeja::Izquierdo);
        QTRY_COMPARE(p.dialogos.mensajes.size(), 1);
        QVERIFY(p.dialogos.mensajes[0].texto.contains(caja));
        QCOMPARE(EstiloMensaje::desde(p.dialogos.mensajes[0].estilo).siNo, false);
        p.ventana->cmdAceptar_Click();
        p.bandeja.pulsar(BotonBandeja::Izquierdo);
        QTest::qWait(20);
        QCOMPARE(p.dialogos.mensajes.size(), 1);
        QCOMPARE(p.notificaciones.mostradas.size(), 1);
    }

    // A problem that ends by itself leaves the tooltip and owes no box.
    void problemaQueTermina() {
        ProgramaDePrueba p;
        p.sonido.arranca = false;
        p.ventana->ArrancarFueraDeVista();
        p.cargar();
        p.ventana->cmdAceptar_Click();
        QVERIFY(p.bandeja.tip.contains(QLatin1Char('\n')));
        p.sonido.cambiarEnMarcha(true);
        QCOMPARE(p.bandeja.tip, QStringLiteral("Tocabrix"));
        p.bandeja.pulsar(BotonBandeja::Izquierdo);
        QTest::qWait(20);
        QVERIFY(p.dialogos.mensajes.isEmpty());
    }

    // With the start screen the boxes stay as they are: at once.
    void conLaVentanaALaVistaSigueLaCaja() {
        ProgramaDePrueba p;
        p.sonido.arranca = false;
        p.cargar();
        QCOMPARE(p.dialogos.mensajes.size(), 1);
        QVERIFY(p.notificaciones.mostradas.isEmpty());
    }

    // No notification area: announced, minimised without a box.
    void sinAreaDeNotificacion() {
        ProgramaDePrueba p;
        p.bandeja.hayArea = false;
        p.ventana->ArrancarFueraDeVista();
        p.cargar();
        p.ventana->cmdAceptar_Click();
        QVERIFY(p.dialogos.mensajes.isEmpty());
        QCOMPARE(p.notificaciones.mostradas.size(), 1);
        QVERIFY(p.notificaciones.mostradas[0].contains(QStringLiteral("área de notificación")));
        QVERIFY(p.ventana->testAttribute(Qt::WA_ShowWithoutActivating));
        QTRY_VERIFY(p.ventana->isMinimized());
    }

    // The session ends while the window is hidden after a change was
    // accepted: saved as "Salir" saves, without a question, and unloaded.
    void finDeSesionGuardaYDescarga() {
        ProgramaDePrueba p;
        const QByteArray sobra = QByteArray(7, 'x'); // a trailing part, not a record
        p.carpeta.escribir(QStringLiteral("usuarios.dat"), perfilSwitch("General") + sobra);
        p.carpeta.escribir(QStringLiteral("quimbal.dat"), config(2));
        p.puerto.puertosExistentes = {2};
        p.cargar();
        p.ventana->show();
        p.dialogos.textos = {QStringLiteral("Eva")};
        p.ventana->cmdAgregar_Click();
        p.ventana->cboTeclas1->setCurrentIndex(PosicionEnCatalogo(QStringLiteral("F5")));
        p.ventana->cboTeclas1_Click();
        p.ventana->cmdAceptar_Click();
        const int cajas = p.dialogos.mensajes.size();
        p.ventana->TerminarSesion();
        QVERIFY(p.ventana->Descargada());
        QCOMPARE(p.dialogos.mensajes.size(), cajas);
        const QByteArray usuarios = p.carpeta.leer(QStringLiteral("usuarios.dat"));
        QCOMPARE(usuarios.size(), 2 * kLargoRegistroUsuario);
        // Sorted by name, as the table keeps them: Eva first.
        const Usuario eva = UsuarioDeRegistro(usuarios.constData());
        QCOMPARE(eva.Nombre.recortado(), QStringLiteral("Eva"));
        QCOMPARE(eva.Accion1.recortado(), QStringLiteral("F5"));
        QCOMPARE(LeerContenidoConfig(p.carpeta.leer(QStringLiteral("quimbal.dat")))
                     .NombreUsuario.recortado(),
                 QStringLiteral("Eva"));
        QVERIFY(!p.puerto.abierto());
        QVERIFY(!p.sonido.capturando);
        QVERIFY(!p.bandeja.visible);
        // Once: a later request finds nothing to do.
        p.carpeta.escribir(QStringLiteral("quimbal.dat"), config(4));
        p.ventana->TerminarSesion();
        QCOMPARE(p.carpeta.leer(QStringLiteral("quimbal.dat")), config(4));
    }
};

QTEST_MAIN(TstFueraDeVista)
#include "tst_fueradevista.moc"
