// Test-only driver of the real injection: a main window (never shown, so it
// never takes the focus) with its action controls and the session's real
// injector, performing the actions it is told on standard input, one per line:
//
//   accion1 ENTRY<TAB>LETTER   select ENTRY in cboTeclas1 (empty: nothing
//   accion2 ENTRY<TAB>LETTER   selected), set the letter box, ActivarSwitch1/2
//   teclas STRING              SendKeys(STRING)
//   salir                      end (temporary key mappings are restored)
//
// For each command it answers one line: the CLOCK_MONOTONIC time in
// microseconds taken right before the call, then "ok" or "fallo".
#include "actions/Catalogo.h"
#include "platform/Inyector.h"
#include "platform/Servicios.h"
#include "platform/qt/DialogosQt.h"
#include "ui/frmSwitch.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QStringList>

#include <cstdio>
#include <ctime>
#include <unistd.h>

using namespace quimbal;

namespace {

long long microsegundos() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000000LL + t.tv_nsec / 1000;
}

class Conductor {
public:
    explicit Conductor(frmSwitch& w) : w_(w) {}

    void llegan(const QByteArray& datos) {
        pendiente_ += datos;
        if (ocupado_)
            return; // the pumps of an action must not start the next one
        ocupado_ = true;
        qsizetype fin;
        while ((fin = pendiente_.indexOf('\n')) >= 0) {
            const QString linea = QString::fromUtf8(pendiente_.left(fin));
            pendiente_.remove(0, fin + 1);
            ejecutar(linea);
        }
        ocupado_ = false;
    }

private:
    void ejecutar(const QString& linea) {
        const qsizetype esp = linea.indexOf(QLatin1Char(' '));
        const QString orden = esp < 0 ? linea : linea.left(esp);
        const QString resto = esp < 0 ? QString() : linea.mid(esp + 1);
        if (orden == QLatin1String("salir")) {
            QApplication::quit();
            return;
        }
        bool bien = false;
        long long t0 = 0;
        if (orden == QLatin1String("accion1") || orden == QLatin1String("accion2")) {
            const bool uno = orden.endsWith(QLatin1Char('1'));
            const QStringList partes = resto.split(QLatin1Char('\t'));
            Lista* cbo = uno ? w_.cboTeclas1 : w_.cboTeclas2;
            CajaTexto* txt = uno ? w_.txtLetra1 : w_.txtLetra2;
            cbo->setListIndex(partes.value(0).isEmpty() ? -1 : PosicionEnCatalogo(partes.value(0)));
            txt->setText(partes.value(1));
            t0 = microsegundos();
            bien = uno ? w_.ActivarSwitch1() : w_.ActivarSwitch2();
        } else if (orden == QLatin1String("teclas")) {
            t0 = microsegundos();
            bien = SendKeys(resto);
        }
        std::printf("%lld %s\n", t0, bien ? "ok" : "fallo");
        std::fflush(stdout);
    }

    frmSwitch& w_;
    QByteArray pendiente_;
    bool ocupado_ = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    BucleQt bucle;
    servicios().bucle = &bucle;
    std::unique_ptr<Inyector> inyector = CrearInyector();
    servicios().inyector = inyector.get();

    int r = 0;
    {
        frmSwitch w;
        ConstruirCatalogo(*w.cboTeclas1, *w.cboTeclas2, w.Teclas);
        Conductor conductor(w);
        QSocketNotifier entrada(STDIN_FILENO, QSocketNotifier::Read);
        QObject::connect(&entrada, &QSocketNotifier::activated, &app, [&] {
            char buf[4096];
            const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
            if (n <= 0) {
                entrada.setEnabled(false);
                QApplication::quit();
                return;
            }
            conductor.llegan(QByteArray(buf, static_cast<qsizetype>(n)));
        });
        r = app.exec();
    }
    servicios() = Servicios{};
    inyector.reset();
    return r;
}
