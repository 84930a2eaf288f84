// Starts the sound-level component and prints every reading it delivers (a
// run of quiet readings is one), one line each:
// "<monotonic microseconds> NIVEL <level>".
//   sonda_sonido [seconds]   (0 or nothing: until killed)
#include "platform/NivelSonido.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <ctime>

using namespace quimbal;

namespace {
long long microsegundos() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000000 + t.tv_nsec / 1000;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const std::unique_ptr<NivelSonido> sonido = CrearNivelSonido();
    QObject::connect(sonido.get(), &NivelSonido::nivel, [](int nivel) {
        std::printf("%lld NIVEL %d\n", microsegundos(), nivel);
        std::fflush(stdout);
    });
    const bool iniciada = sonido->iniciar();
    std::printf("INICIO %d\n", iniciada ? 0 : 1);
    std::fflush(stdout);
    if (!iniciada)
        return 2;
    const int segundos = argc > 1 ? std::atoi(argv[1]) : 0;
    if (segundos > 0)
        QTimer::singleShot(segundos * 1000, &app, &QCoreApplication::quit);
    const int x = app.exec();
    sonido->detener();
    std::printf("FIN\n");
    return x;
}
