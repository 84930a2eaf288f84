// Starts the sound-level component on a bare window and prints every reading
// it delivers, one line each: "<monotonic microseconds> NIVEL <level>".
//   sonda_sonido [seconds]   (0 or nothing: until killed)
#include "platform/sonido/ComponenteSonido.h"

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

LRESULT proc(HWND, std::uint32_t msg, WPARAM, LPARAM lParam) {
    if (msg == WM_NIVEL_SONIDO) {
        std::printf("%lld NIVEL %lld\n", microsegundos(), static_cast<long long>(lParam));
        std::fflush(stdout);
    }
    return 0;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    Ventana ventana;
    SetWindowLong(&ventana, GWL_WNDPROC, &proc);
    const std::int16_t r = sonido::IniciarCapturaNivellDeSo(&ventana);
    std::printf("INICIO %d\n", r);
    std::fflush(stdout);
    if (r != 0)
        return 2;
    const int segundos = argc > 1 ? std::atoi(argv[1]) : 0;
    if (segundos > 0)
        QTimer::singleShot(segundos * 1000, &app, &QCoreApplication::quit);
    const int x = app.exec();
    sonido::FinalitzarCapturaNivellDeSo();
    std::printf("FIN\n");
    return x;
}
