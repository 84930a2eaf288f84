// The notification-area backend on Qt: what it posts to the window for each
// kind of press, and the restore of a minimised window where there is no
// notification area.
#include "platform/qt/BandejaQt.h"

#include <QSystemTrayIcon>
#include <QTest>
#include <QWidget>
#include <cstring>

using namespace quimbal;

namespace {
struct Recibido {
    std::uint32_t msg;
    WPARAM w;
    LPARAM l;
};
QList<Recibido> recibidos;
LRESULT registrar(HWND, std::uint32_t m, WPARAM w, LPARAM l) {
    recibidos.append({m, w, l});
    return 0;
}

NOTIFYICONDATA datosDe(HWND h) {
    NOTIFYICONDATA d;
    d.hWnd = h;
    d.uID = 42;
    d.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    d.uCallbackMessage = 0x8064;
    d.szTip.fill(' ');
    std::memcpy(d.szTip.data(), "Tocabrix", 9);
    return d;
}
} // namespace

class TstBandejaQt : public QObject {
    Q_OBJECT
private slots:
    void init() { recibidos.clear(); }

    void cadaPulsacionSePublica() {
        QWidget w;
        HWND h = Ventana::de(&w);
        SetWindowLong(h, GWL_WNDPROC, &registrar);
        BandejaQt bandeja;
        const NOTIFYICONDATA d = datosDe(h);
        QVERIFY(bandeja.Shell_NotifyIcon(NIM_ADD, d));
        QVERIFY(!bandeja.Shell_NotifyIcon(NIM_ADD, d)); // one icon per window and uID
        auto iconos = bandeja.findChildren<QSystemTrayIcon*>();
        QCOMPARE(iconos.size(), 1);
        QCOMPARE(iconos[0]->toolTip(), QStringLiteral("Tocabrix"));
        const QList<QPair<QSystemTrayIcon::ActivationReason, LPARAM>> casos = {
            {QSystemTrayIcon::Trigger, 0x201},
            {QSystemTrayIcon::DoubleClick, 0x203},
            {QSystemTrayIcon::Context, 0x204},
            {QSystemTrayIcon::MiddleClick, 0x207},
        };
        for (const auto& [razon, raton] : casos)
            emit iconos[0]->activated(razon);
        emit iconos[0]->activated(QSystemTrayIcon::Unknown); // nothing
        QVERIFY(recibidos.isEmpty());                        // posted, not sent
        QTRY_COMPARE(recibidos.size(), casos.size());
        for (int i = 0; i < casos.size(); ++i) {
            QCOMPARE(recibidos[i].msg, 0x8064u);
            QCOMPARE(recibidos[i].w, WPARAM(42));
            QCOMPARE(recibidos[i].l, casos[i].second);
        }
        QVERIFY(bandeja.Shell_NotifyIcon(NIM_DELETE, d));
        QVERIFY(bandeja.findChildren<QSystemTrayIcon*>().isEmpty());
        QVERIFY(!bandeja.Shell_NotifyIcon(NIM_DELETE, d));
    }

    void ventanaDestruidaNoRecibeNada() {
        BandejaQt bandeja;
        auto* w = new QWidget;
        const NOTIFYICONDATA d = datosDe(Ventana::de(w));
        QVERIFY(bandeja.Shell_NotifyIcon(NIM_ADD, d));
        auto* icono = bandeja.findChild<QSystemTrayIcon*>();
        delete w;
        emit icono->activated(QSystemTrayIcon::Trigger); // must not touch the dead window
        QCoreApplication::processEvents();
        QVERIFY(recibidos.isEmpty());
    }

    void restaurarSinAreaEsUnaPulsacion() {
        if (QSystemTrayIcon::isSystemTrayAvailable())
            QSKIP("this desktop has a notification area");
        QWidget w;
        HWND h = Ventana::de(&w);
        SetWindowLong(h, GWL_WNDPROC, &registrar);
        BandejaQt bandeja;
        QVERIFY(!bandeja.HayAreaNotificacion());
        QVERIFY(bandeja.Shell_NotifyIcon(NIM_ADD, datosDe(h)));
        // Minimised, then restored (each change sends its state event).
        w.setWindowState(Qt::WindowMinimized);
        QCoreApplication::processEvents();
        QVERIFY(recibidos.isEmpty());
        w.setWindowState(Qt::WindowNoState);
        QTRY_COMPARE(recibidos.size(), 1);
        QCOMPARE(recibidos[0].l, LPARAM(0x201));
    }
};

QTEST_MAIN(TstBandejaQt)
#include "tst_bandejaqt.moc"
