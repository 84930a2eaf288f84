// The notification-area backend on Qt: what it reports for each kind of
// press, and the restore of a minimised window where there is no
// notification area.
#include "platform/qt/BandejaQt.h"

#include <QIcon>
#include <QPixmap>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>
#include <QWidget>

using namespace quimbal;

Q_DECLARE_METATYPE(quimbal::BotonBandeja)

namespace {
QIcon unIcono() {
    QPixmap p(16, 16);
    p.fill(Qt::blue);
    return QIcon(p);
}
QList<BotonBandeja> botones(const QSignalSpy& espia) {
    QList<BotonBandeja> r;
    for (const QList<QVariant>& a : espia)
        r << a.at(0).value<BotonBandeja>();
    return r;
}
} // namespace

class TstBandejaQt : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qRegisterMetaType<BotonBandeja>(); }

    void cadaPulsacionSeInforma() {
        QWidget w;
        BandejaQt bandeja;
        QSignalSpy espia(&bandeja, &Bandeja::pulsada);
        bandeja.mostrar(w, unIcono(), QStringLiteral("Tocabrix"));
        bandeja.mostrar(w, unIcono(), QStringLiteral("Tocabrix")); // one icon, not two
        auto iconos = bandeja.findChildren<QSystemTrayIcon*>();
        QCOMPARE(iconos.size(), 1);
        QCOMPARE(iconos[0]->toolTip(), QStringLiteral("Tocabrix"));
        for (auto r :
             {QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick, QSystemTrayIcon::Context,
              QSystemTrayIcon::MiddleClick, QSystemTrayIcon::Unknown})
            emit iconos[0]->activated(r);
        QCOMPARE(botones(espia),
                 (QList<BotonBandeja>{BotonBandeja::Izquierdo, BotonBandeja::DobleIzquierdo,
                                      BotonBandeja::Derecho, BotonBandeja::Medio}));
        bandeja.quitar();
        QVERIFY(bandeja.findChildren<QSystemTrayIcon*>().isEmpty());
        bandeja.quitar(); // twice is harmless
    }

    void ventanaDestruidaAntesQueElIcono() {
        BandejaQt bandeja;
        auto* w = new QWidget;
        bandeja.mostrar(*w, unIcono(), QStringLiteral("Tocabrix"));
        auto* icono = bandeja.findChild<QSystemTrayIcon*>();
        delete w;
        emit icono->activated(QSystemTrayIcon::Trigger); // must not touch the dead window
        bandeja.quitar();
        QVERIFY(bandeja.findChildren<QSystemTrayIcon*>().isEmpty());
    }

    void restaurarSinAreaEsUnaPulsacion() {
        if (QSystemTrayIcon::isSystemTrayAvailable())
            QSKIP("this desktop has a notification area");
        QWidget w;
        BandejaQt bandeja;
        QSignalSpy espia(&bandeja, &Bandeja::pulsada);
        QVERIFY(!bandeja.hayAreaNotificacion());
        bandeja.mostrar(w, unIcono(), QStringLiteral("Tocabrix"));
        // Minimised, then restored (each change sends its state event).
        w.setWindowState(Qt::WindowMinimized);
        QCoreApplication::processEvents();
        QVERIFY(espia.isEmpty());
        w.setWindowState(Qt::WindowNoState);
        QTRY_COMPARE(espia.size(), 1);
        QCOMPARE(botones(espia), QList<BotonBandeja>{BotonBandeja::Izquierdo});
        // Without the icon, a restore is nobody's press.
        bandeja.quitar();
        w.setWindowState(Qt::WindowMinimized);
        w.setWindowState(Qt::WindowNoState);
        QCoreApplication::processEvents();
        QCOMPARE(espia.size(), 1);
    }
};

QTEST_MAIN(TstBandejaQt)
#include "tst_bandejaqt.moc"
