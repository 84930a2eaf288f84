// Injection through one virtual input device made with /dev/uinput: the
// mouse buttons and every key of a keyboard. The compositor reads it like any
// device plugged in and delivers its events to the focused window, native or
// not, on X11 and on any Wayland compositor, without asking the user.
//
// The device lives as long as the program: it is created at the start and
// removed at the end. When the program ends in any way, even killed, the
// kernel removes the device and releases whatever it held, so no modifier is
// left down.
//
// The compositor turns key codes into characters with the session's layout,
// so characters are looked up on that layout (DisposicionTeclado, MapaXkb). A
// string with a character the layout cannot type is refused whole.
//
// Events are written by a thread of their own, in order, so that a pause
// between key events (QUIMBAL_RETARDO_TECLAS_MS, for applications that lose
// fast keys) or the short wait after a button never holds up the window.
#include "platform/uinput/InyectorUinput.h"

#include "platform/uinput/DisposicionTeclado.h"
#include "platform/uinput/MapaXkb.h"

#include <QFile>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <linux/uinput.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace quimbal {

namespace {

using Reloj = std::chrono::steady_clock;

// A compositor opens a new device a moment after it appears (0.1 s on a
// desktop, up to 0.8 s on a slow machine); events written before that are lost.
constexpr std::chrono::milliseconds kEsperaCompositor{1000};
// Keys right after a button event wait this long, so that toolkits that read
// pointer and key events in one batch see the click first.
constexpr std::chrono::milliseconds kPausaTrasBoton{15};
// How often the session's layout is read again while typing.
constexpr std::chrono::seconds kReleerDisposicion{10};

struct Evento {
    std::uint16_t tipo, codigo;
    std::int32_t valor;
};

struct Lote {
    std::vector<Evento> eventos;
    bool teclas = false;
};

QString RutaUinput() {
    const QString propia = qEnvironmentVariable("QUIMBAL_UINPUT");
    return propia.isEmpty() ? QStringLiteral("/dev/uinput") : propia;
}

class InyectorUinput : public Inyector {
public:
    InyectorUinput(int fd, NombresXkb nombres, std::unique_ptr<MapaXkb> mapa)
        : fd_(fd), nombres_(std::move(nombres)), mapa_(std::move(mapa)), leido_(Reloj::now()),
          listo_(Reloj::now() + kEsperaCompositor),
          retardo_(qEnvironmentVariableIntValue("QUIMBAL_RETARDO_TECLAS_MS")) {
        hilo_ = std::thread([this] { escribir(); });
    }
    ~InyectorUinput() override {
        {
            std::lock_guard l(m_);
            fin_ = true;
        }
        cv_.notify_one();
        hilo_.join();
        ioctl(fd_, UI_DEV_DESTROY);
        close(fd_);
    }

    bool boton(BotonRaton b, bool abajo) override {
        encolar({{{EV_KEY,
                   static_cast<std::uint16_t>(b == BotonRaton::Izquierdo ? BTN_LEFT : BTN_RIGHT),
                   abajo ? 1 : 0}},
                 false});
        return !fallo_;
    }

    bool teclear(const QList<Pulsacion>& pulsaciones) override {
        if (fallo_)
            return false;
        actualizarMapa();
        if (!mapa_)
            return pulsaciones.isEmpty();
        std::vector<EventoTecla> plan;
        char32_t falta = 0;
        if (!mapa_->planear(pulsaciones, plan, falta)) {
            const QString que = falta ? QStringLiteral("el carácter «%1» (U+%2)")
                                            .arg(QString::fromUcs4(&falta, 1),
                                                 QString::number(static_cast<uint>(falta), 16)
                                                     .toUpper()
                                                     .rightJustified(4, QLatin1Char('0')))
                                      : QStringLiteral("una de las teclas");
            std::fprintf(stderr,
                         "quimbal: la distribución de teclado «%s» no puede escribir %s; no se "
                         "teclea nada de esta acción.\n",
                         qPrintable(Nombre()), qPrintable(que));
            return false;
        }
        Lote lote{{}, true};
        for (const EventoTecla& e : plan)
            lote.eventos.push_back({EV_KEY, e.codigo, e.abajo ? 1 : 0});
        encolar(std::move(lote));
        return true;
    }

private:
    QString Nombre() const {
        return nombres_.disposicion.isEmpty() ? QStringLiteral("us") : nombres_.disposicion;
    }

    // The layout may change during the session: read its names again now and
    // then, and compile it again only when they changed.
    void actualizarMapa() {
        if (Reloj::now() - leido_ < kReleerDisposicion)
            return;
        leido_ = Reloj::now();
        NombresXkb nuevos = DisposicionDeLaSesion();
        if (nuevos.mismoTeclado(nombres_))
            return;
        QString error;
        if (auto mapa = MapaXkb::crear(nuevos, error)) {
            std::fprintf(stderr, "quimbal: distribución de teclado «%s» (de %s).\n",
                         qPrintable(nuevos.disposicion), qPrintable(nuevos.origen));
            mapa_ = std::move(mapa);
        }
        nombres_ = std::move(nuevos);
    }

    void encolar(Lote lote) {
        {
            std::lock_guard l(m_);
            cola_.push_back(std::move(lote));
        }
        cv_.notify_one();
    }

    bool emitir(std::uint16_t tipo, std::uint16_t codigo, std::int32_t valor) {
        input_event e{};
        e.type = tipo;
        e.code = codigo;
        e.value = valor;
        for (;;) {
            const ssize_t n = ::write(fd_, &e, sizeof e);
            if (n == static_cast<ssize_t>(sizeof e))
                return true;
            if (n < 0 && errno == EINTR)
                continue;
            return false;
        }
    }

    void escribir() {
        Reloj::time_point ultimoBoton{};
        for (;;) {
            Lote lote;
            {
                std::unique_lock l(m_);
                cv_.wait(l, [this] { return fin_ || !cola_.empty(); });
                if (cola_.empty())
                    return;
                lote = std::move(cola_.front());
                cola_.pop_front();
            }
            std::this_thread::sleep_until(listo_);
            if (lote.teclas)
                std::this_thread::sleep_until(ultimoBoton + kPausaTrasBoton);
            bool primero = true;
            std::vector<std::uint16_t> abajo; // pressed by this batch, not yet released
            for (const Evento& e : lote.eventos) {
                if (!primero && retardo_ > 0)
                    std::this_thread::sleep_for(std::chrono::milliseconds(retardo_));
                primero = false;
                if (!emitir(e.tipo, e.codigo, e.valor) || !emitir(EV_SYN, SYN_REPORT, 0)) {
                    if (!fallo_.exchange(true))
                        std::fprintf(stderr, "quimbal: no se puede escribir en %s: %s\n",
                                     qPrintable(RutaUinput()), std::strerror(errno));
                    // Whatever this batch holds down is let go, if the
                    // device still takes anything.
                    for (std::uint16_t codigo : abajo)
                        emitir(EV_KEY, codigo, 0) && emitir(EV_SYN, SYN_REPORT, 0);
                    break;
                }
                if (lote.teclas && e.valor)
                    abajo.push_back(e.codigo);
                else if (lote.teclas)
                    std::erase(abajo, e.codigo);
            }
            if (!lote.teclas)
                ultimoBoton = Reloj::now();
        }
    }

    const int fd_;
    NombresXkb nombres_;
    std::unique_ptr<MapaXkb> mapa_;
    Reloj::time_point leido_;
    const Reloj::time_point listo_;
    const int retardo_;
    std::atomic<bool> fallo_{false};
    std::mutex m_;
    std::condition_variable cv_;
    std::deque<Lote> cola_;
    bool fin_ = false;
    std::thread hilo_;
};

} // namespace

std::unique_ptr<Inyector> CrearInyectorUinput(QString& motivo) {
    const QString ruta = RutaUinput();
    const int fd = ::open(QFile::encodeName(ruta).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int e = errno;
        motivo = e == EACCES || e == EPERM
                     ? QStringLiteral("permiso denegado al abrir %1").arg(ruta)
                 : e == ENOENT || e == ENODEV || e == ENXIO
                     ? QStringLiteral("%1 no existe (falta el módulo uinput del núcleo)").arg(ruta)
                     : QStringLiteral("no se puede abrir %1: %2")
                           .arg(ruta, QString::fromLocal8Bit(std::strerror(e)));
        return nullptr;
    }
    bool hecho = ioctl(fd, UI_SET_EVBIT, EV_KEY) == 0 && ioctl(fd, UI_SET_EVBIT, EV_REL) == 0 &&
                 ioctl(fd, UI_SET_RELBIT, REL_X) == 0 && ioctl(fd, UI_SET_RELBIT, REL_Y) == 0;
    // Every keyboard key, and the mouse buttons (with the two axes that make
    // the device a mouse for the compositor; it never moves).
    for (int k = KEY_ESC; hecho && k <= KEY_MICMUTE; ++k)
        hecho = ioctl(fd, UI_SET_KEYBIT, k) == 0;
    for (int b : {BTN_LEFT, BTN_RIGHT, BTN_MIDDLE})
        hecho = hecho && ioctl(fd, UI_SET_KEYBIT, b) == 0;
    uinput_setup ajuste{};
    ajuste.id.bustype = BUS_VIRTUAL;
    ajuste.id.vendor = 0x1209; // pid.codes, open-source hardware and software
    ajuste.id.product = 0x0001;
    ajuste.id.version = 1;
    std::snprintf(ajuste.name, sizeof ajuste.name, "Quimbal: teclado y raton virtuales");
    hecho = hecho && ioctl(fd, UI_DEV_SETUP, &ajuste) == 0 && ioctl(fd, UI_DEV_CREATE) == 0;
    if (!hecho) {
        motivo = QStringLiteral("%1 no crea el dispositivo: %2")
                     .arg(ruta, QString::fromLocal8Bit(std::strerror(errno)));
        ::close(fd);
        return nullptr;
    }

    NombresXkb nombres = DisposicionDeLaSesion();
    QString error;
    std::unique_ptr<MapaXkb> mapa = MapaXkb::crear(nombres, error);
    if (!mapa) {
        std::fprintf(stderr, "quimbal: %s; se usa la distribución por omisión.\n",
                     qPrintable(error));
        mapa = MapaXkb::crear(NombresXkb{}, error);
    } else if (!nombres.vacio()) {
        std::fprintf(stderr, "quimbal: distribución de teclado «%s» (de %s).\n",
                     qPrintable(nombres.disposicion), qPrintable(nombres.origen));
    }
    return std::make_unique<InyectorUinput>(fd, std::move(nombres), std::move(mapa));
}

} // namespace quimbal
