// The tray icon record, the tray hook on the window's procedure chain, and
// what a press on the icon does.
#include "app/VentanaPrincipal.h"
#include "app/modIconBar.h"
#include "app/subClas.h"
#include "profiles/Declaraciones.h"
#include "tests/fakes/BandejaFalsa.h"
#include "tests/fakes/DialogosFalsos.h"
#include "tests/fakes/LibreriaSonidoFalsa.h"
#include "ui/CicloVentana.h"

#include <QDialog>
#include <QTest>
#include <QTimer>

using namespace quimbal;

namespace {
QList<std::uint32_t> vistos;
LRESULT procDebajo(HWND, std::uint32_t uMsg, WPARAM, LPARAM) {
    vistos.append(uMsg);
    return 77;
}
} // namespace

class TstBandeja : public QObject {
    Q_OBJECT
private slots:
    void init() {
        ReiniciarDeclaraciones();
        OlvidarAvisoSinBandeja();
        vistos.clear();
    }

    void registroDelIcono() {
        ServiciosDePrueba s;
        BandejaFalsa bandeja;
        LibreriaSonidoFalsa sonido;
        VentanaPrincipal v;
        v.setWindowIcon(QIcon(QStringLiteral(":/quimbal/icono.png")));
        AgregarIconoBandeja(v);
        QCOMPARE(bandeja.llamadas.size(), 1);
        const NOTIFYICONDATA& d = bandeja.llamadas[0].datos;
        QCOMPARE(bandeja.llamadas[0].mensaje, NIM_ADD);
        QCOMPARE(d.cbSize, 88u);
        QCOMPARE(d.hWnd, v.hWnd());
        QCOMPARE(d.uID, reinterpret_cast<WPARAM>(v.hWnd()));
        QCOMPARE(d.uFlags, 7u);
        QCOMPARE(d.uCallbackMessage, 0x8064u);
        QVERIFY(!d.hIcon.isNull());
        QCOMPARE(d.hIcon.availableSizes().value(0), QSize(32, 32));
        QCOMPARE(d.Tip(), QStringLiteral("Tocabrix"));
        QCOMPARE(d.szTip[8], '\0');
        for (std::size_t i = 9; i < d.szTip.size(); ++i)
            QCOMPARE(d.szTip[i], ' ');
        // Removing uses the record as filled at add time.
        QuitarIconoBandeja();
        QCOMPARE(bandeja.llamadas[1].mensaje, NIM_DELETE);
        QCOMPARE(bandeja.llamadas[1].datos.hWnd, d.hWnd);
        QCOMPARE(bandeja.llamadas[1].datos.uID, d.uID);
        QVERIFY(bandeja.iconos.isEmpty());
    }

    void elGanchoPasaTodoAlAnterior() {
        ServiciosDePrueba s;
        QWidget w;
        HWND h = Ventana::de(&w);
        SetWindowLong(h, GWL_WNDPROC, &procDebajo);
        EngancharVentana(h);
        QVERIFY(ProcAnteriorBandeja == &procDebajo);
        QVERIFY(h->procedimiento() == &ProcVentanaBandeja);
        // Every message reaches the previous procedure and its result comes back,
        // the tray message and the mouse move included.
        QCOMPARE(SendMessage(h, 0x10, 0, 0), LRESULT(77));
        QCOMPARE(SendMessage(h, 0x8064, 0, WM_MOUSEMOVE), LRESULT(77));
        QCOMPARE(SendMessage(h, 0x8064, 0, WM_LBUTTONDOWN), LRESULT(77));
        QCOMPARE(vistos, (QList<std::uint32_t>{0x10, 0x8064, 0x8064}));
        DesengancharVentana(h);
        QVERIFY(h->procedimiento() == &procDebajo);
    }

    void quePulsacionesReaccionan_data() {
        QTest::addColumn<int>("raton");
        QTest::addColumn<bool>("reacciona");
        QTest::newRow("movimiento") << 0x200 << false;
        QTest::newRow("izquierdo pulsado") << 0x201 << true;
        QTest::newRow("izquierdo soltado") << 0x202 << false;
        QTest::newRow("doble clic izquierdo") << 0x203 << true;
        QTest::newRow("derecho pulsado") << 0x204 << true;
        QTest::newRow("derecho soltado") << 0x205 << false;
        QTest::newRow("doble clic derecho") << 0x206 << false;
        QTest::newRow("central pulsado") << 0x207 << false;
        QTest::newRow("central soltado") << 0x208 << false;
    }
    void quePulsacionesReaccionan() {
        QFETCH(int, raton);
        QFETCH(bool, reacciona);
        ServiciosDePrueba s;
        BandejaFalsa bandeja;
        LibreriaSonidoFalsa sonido;
        VentanaPrincipal v;
        v.Cargar();
        v.show();
        v.cmdAceptar_Click();
        QVERIFY(!v.isVisible());
        QVERIFY(!ModoTest);
        QVERIFY(bandeja.pulsar(v.hWnd(), static_cast<std::uint32_t>(raton)));
        QCOMPARE(v.isVisible(), reacciona);
        QCOMPARE(ModoTest, reacciona);
        if (reacciona)
            QCOMPARE(v.focusWidget(), v.cmdAceptar);
    }

    void lasBanderasSuprimenLaPulsacion() {
        ServiciosDePrueba s;
        BandejaFalsa bandeja;
        LibreriaSonidoFalsa sonido;
        VentanaPrincipal v;
        v.Cargar();
        v.cmdAceptar_Click();
        for (bool* bandera : {&AgregandoUsuario, &PreguntandoSalida}) {
            *bandera = true;
            bandeja.pulsar(v.hWnd(), WM_LBUTTONDOWN);
            QVERIFY(!v.isVisible());
            QVERIFY(!ModoTest);
            // Dropped, not replayed once the box closes.
            *bandera = false;
            QCoreApplication::processEvents();
            QVERIFY(!v.isVisible());
        }
        bandeja.pulsar(v.hWnd(), WM_RBUTTONDOWN);
        QVERIFY(v.isVisible());
    }

    void pulsarConLaVentanaALaVista() {
        ServiciosDePrueba s;
        BandejaFalsa bandeja;
        LibreriaSonidoFalsa sonido;
        VentanaPrincipal v;
        v.Cargar();
        v.show();
        v.txtLetra1->setFocus();
        ModoTest = false; // as if something had cleared it
        bandeja.pulsar(v.hWnd(), WM_LBUTTONDBLCLK);
        QVERIFY(v.isVisible());
        QVERIFY(ModoTest);
        QCOMPARE(v.focusWidget(), v.cmdAceptar);
    }

    void pulsarConMasOpcionesAbierto() {
        ServiciosDePrueba s;
        BandejaFalsa bandeja;
        LibreriaSonidoFalsa sonido;
        VentanaPrincipal v;
        v.Cargar();
        v.show();
        v.ActivaOpcionSonido();
        QVERIFY(v.cmdMas->isEnabled());
        bool reaccion = false, sigueAbierto = false;
        QTimer::singleShot(0, [&] {
            auto* dialogo = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialogo);
            ModoTest = false;
            bandeja.pulsar(v.hWnd(), WM_LBUTTONDOWN); // raises no flag: it reacts
            reaccion = ModoTest && v.isVisible();
            sigueAbierto = QApplication::activeModalWidget() == dialogo;
            QTest::keyClick(dialogo, Qt::Key_Escape);
        });
        v.cmdMas->pulsar();
        QVERIFY(reaccion);
        QVERIFY(sigueAbierto);
        QVERIFY(!QApplication::activeModalWidget());
    }

    void elMensajePublicadoPasaPorLaCadena() {
        ServiciosDePrueba s;
        BandejaFalsa bandeja;
        LibreriaSonidoFalsa sonido;
        VentanaPrincipal v;
        v.Cargar();
        v.cmdAceptar_Click();
        PostMessage(v.hWnd(), kMensajeBandeja, DatosIcono.uID, WM_LBUTTONDOWN);
        QVERIFY(!v.isVisible());
        QTRY_VERIFY(v.isVisible());
    }

    void sinAreaDeNotificacionSeMinimiza() {
        ServiciosDePrueba s;
        BandejaFalsa bandeja;
        LibreriaSonidoFalsa sonido;
        bandeja.hayArea = false;
        VentanaPrincipal v;
        v.Cargar();
        // The minimise button is there before the window is first shown:
        // adding it later re-creates the window under the window manager.
        QVERIFY(v.windowFlags() & Qt::WindowMinimizeButtonHint);
        v.show();
        const WId antes = v.winId();
        v.cmdAceptar_Click();
        QCOMPARE(v.winId(), antes);
        QVERIFY(!ModoTest);
        QVERIFY(v.isVisible());
        QVERIFY(v.windowState() & Qt::WindowMinimized);
        QCOMPARE(s.dialogos.mensajes.size(), 1);
        QVERIFY(s.dialogos.mensajes[0].texto.contains(QStringLiteral("área de notificación")));
        QCOMPARE(s.dialogos.mensajes[0].estilo, 48);
        // Restoring it is reported as a press on the icon.
        bandeja.pulsar(v.hWnd(), WM_LBUTTONDOWN);
        QVERIFY(ModoTest);
        QVERIFY(!(v.windowState() & Qt::WindowMinimized));
        // The user is told once.
        v.cmdAceptar_Click();
        QCOMPARE(s.dialogos.mensajes.size(), 1);
    }
};

QTEST_MAIN(TstBandeja)
#include "tst_bandeja.moc"
