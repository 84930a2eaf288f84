// Test-only driver of the real injection: the session's real injector,
// performing the actions it is told on standard input, one per line:
//
//   accion1 ENTRY<TAB>LETTER   the action of catalogue ENTRY (empty: none)
//   accion2 ENTRY<TAB>LETTER   with that letter box text, performed
//   teclas STRING              the key string STRING typed
//   salir                      end (temporary key mappings are restored)
//
// For each command it answers one line: the CLOCK_MONOTONIC time in
// microseconds taken right before the call, then "ok" or "fallo".
#include "actions/Procedimientos.h"
#include "platform/Inyector.h"

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
    explicit Conductor(Inyector& i) : inyector_(i) {}

    void llegan(const QByteArray& datos) {
        pendiente_ += datos;
        qsizetype fin;
        while ((fin = pendiente_.indexOf('\n')) >= 0) {
            const QString linea = QString::fromUtf8(pendiente_.left(fin));
            pendiente_.remove(0, fin + 1);
            ejecutar(linea);
        }
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
            const QStringList partes = resto.split(QLatin1Char('\t'));
            const Accion a = Accion::desde(partes.value(0), partes.value(1));
            t0 = microsegundos();
            bien = RealizarAccion(a, inyector_);
        } else if (orden == QLatin1String("teclas")) {
            const ResultadoNotacion n = AnalizarTeclas(resto);
            t0 = microsegundos();
            bien = n.valido() && (n.pulsaciones.isEmpty() || inyector_.teclear(n.pulsaciones));
        }
        std::printf("%lld %s\n", t0, bien ? "ok" : "fallo");
        std::fflush(stdout);
    }

    Inyector& inyector_;
    QByteArray pendiente_;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QString aviso;
    const std::unique_ptr<Inyector> inyector = CrearInyector(aviso);
    Conductor conductor(*inyector);
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
    return app.exec();
}
