#include "platform/evdev/CajaEvdev.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <libevdev/libevdev.h>
#include <libudev.h>
#include <linux/input.h>
#include <set>
#include <unistd.h>

namespace quimbal {

namespace {

QString leerLinea(const QString& ruta) {
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).trimmed();
}

// A capability bitmap as the kernel writes it: words in hexadecimal, the
// most significant first, each as wide as a long.
std::set<int> bits(const QString& texto) {
    std::set<int> r;
    const QStringList palabras = texto.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    constexpr int ancho = static_cast<int>(sizeof(long) * CHAR_BIT);
    for (qsizetype i = 0; i < palabras.size(); ++i) {
        bool ok = false;
        const qulonglong v = palabras[i].toULongLong(&ok, 16);
        if (!ok)
            return {};
        const int base = static_cast<int>(palabras.size() - 1 - i) * ancho;
        for (int b = 0; b < ancho; ++b)
            if (v >> b & 1ULL)
                r.insert(base + b);
    }
    return r;
}

bool esLetra(int codigo) {
    return (codigo >= KEY_Q && codigo <= KEY_P) || (codigo >= KEY_A && codigo <= KEY_L) ||
           (codigo >= KEY_Z && codigo <= KEY_M);
}

bool esDeMando(int codigo) {
    return (codigo >= BTN_JOYSTICK && codigo < BTN_DIGI) ||
           (codigo >= BTN_TRIGGER_HAPPY && codigo <= BTN_TRIGGER_HAPPY40);
}

qint64 msDe(const input_event& ev) {
    return static_cast<qint64>(ev.input_event_sec) * 1000 + ev.input_event_usec / 1000;
}

class CajaEvdev final : public CajaUsb {
public:
    CajaEvdev() {
        reintento_.setInterval(1000);
        QObject::connect(&reintento_, &QTimer::timeout, &contexto_, [this] { intentar(); });
        udev_ = udev_new();
        if (udev_)
            monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
        if (monitor_ &&
            udev_monitor_filter_add_match_subsystem_devtype(monitor_, "input", nullptr) == 0 &&
            udev_monitor_enable_receiving(monitor_) == 0) {
            avisoUdev_ = std::make_unique<QSocketNotifier>(udev_monitor_get_fd(monitor_),
                                                           QSocketNotifier::Read);
            QObject::connect(avisoUdev_.get(), &QSocketNotifier::activated, &contexto_,
                             [this] { leerUdev(); });
        } else if (monitor_) {
            udev_monitor_unref(monitor_);
            monitor_ = nullptr;
        }
    }
    ~CajaEvdev() override {
        aviso_.reset();
        cerrar();
        avisoUdev_.reset();
        if (monitor_)
            udev_monitor_unref(monitor_);
        if (udev_)
            udev_unref(udev_);
    }

    QList<DispositivoEntrada> dispositivos() override {
        return DispositivosDeSysfs(QStringLiteral("/sys/class/input"),
                                   QStringLiteral("/dev/input"));
    }

    void usar(const std::optional<SenaDispositivo>& sena) override {
        cerrar();
        sena_ = sena;
        fallo_ = sena ? FalloCaja::NoEsta : FalloCaja::Ninguno;
        ruta_.clear();
        if (!sena_)
            return;
        intentar(true);
    }

    bool conectada() const override { return dev_ != nullptr; }
    FalloCaja fallo() const override { return fallo_; }
    QString dispositivo() const override { return ruta_; }
    bool pulsado(int codigo) const override {
        return dev_ && libevdev_get_event_value(dev_, EV_KEY, static_cast<unsigned>(codigo)) == 1;
    }

private:
    // Looks for the box and opens it. Told (alCambiar) when asked for by the
    // user, and afterwards only when the state or its reason changes.
    void intentar(bool pedido = false) {
        if (!sena_ || dev_)
            return;
        const FalloCaja antes = fallo_;
        abrir();
        // Tried again each second while it is there but cannot be used yet
        // (the access the seat gives may come later, the other program may
        // let it go), and while it is missing where no udev says when it
        // comes.
        if (dev_ || (fallo_ == FalloCaja::NoEsta && monitor_))
            reintento_.stop();
        else if (!reintento_.isActive())
            reintento_.start();
        if (alCambiar && (pedido || dev_ || fallo_ != antes))
            alCambiar(dev_ != nullptr);
    }

    void abrir() {
        const std::optional<DispositivoEntrada> d = Localizar(*sena_, dispositivos());
        if (!d) {
            fallo_ = FalloCaja::NoEsta;
            return;
        }
        ruta_ = d->ruta;
        const int fd =
            ::open(QFile::encodeName(ruta_).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            fallo_ = errno == EACCES || errno == EPERM                      ? FalloCaja::SinPermiso
                     : errno == ENOENT || errno == ENODEV || errno == ENXIO ? FalloCaja::NoEsta
                                                                            : FalloCaja::Otro;
            return;
        }
        libevdev* dev = nullptr;
        if (libevdev_new_from_fd(fd, &dev) < 0) {
            ::close(fd);
            fallo_ = FalloCaja::Otro;
            return;
        }
        // The events' times on the clock the program keeps its own on.
        libevdev_set_clock_id(dev, CLOCK_MONOTONIC);
        const int agarre = libevdev_grab(dev, LIBEVDEV_GRAB);
        if (agarre < 0) {
            libevdev_free(dev);
            ::close(fd);
            fallo_ = agarre == -EBUSY ? FalloCaja::Tomada : FalloCaja::Otro;
            return;
        }
        dev_ = dev;
        fd_ = fd;
        fallo_ = FalloCaja::Ninguno;
        aviso_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
        QObject::connect(aviso_.get(), &QSocketNotifier::activated, &contexto_, [this] { leer(); });
    }

    void cerrar() {
        // Possibly from within its own signal (a press that made the user
        // pick another box): deleted once that is over.
        if (aviso_) {
            aviso_->setEnabled(false);
            aviso_.release()->deleteLater();
        }
        if (dev_) {
            libevdev_grab(dev_, LIBEVDEV_UNGRAB);
            libevdev_free(dev_);
            dev_ = nullptr;
        }
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
        reintento_.stop();
    }

    void perder() {
        cerrar();
        fallo_ = FalloCaja::NoEsta;
        if (!monitor_)
            reintento_.start();
        if (alCambiar)
            alCambiar(false);
    }

    void atender(const input_event& ev) {
        // A key held down repeats (value 2): not a press.
        if (ev.type == EV_KEY && ev.value != 2 && alPulsar)
            alPulsar(ev.code, ev.value == 1, msDe(ev));
    }

    void leer() {
        input_event ev;
        for (;;) {
            int rc = libevdev_next_event(dev_, LIBEVDEV_READ_FLAG_NORMAL, &ev);
            if (rc == LIBEVDEV_READ_STATUS_SYNC) {
                // Events were dropped: the changes since come as a sequence.
                while (rc == LIBEVDEV_READ_STATUS_SYNC) {
                    atender(ev);
                    if (!dev_)
                        return;
                    rc = libevdev_next_event(dev_, LIBEVDEV_READ_FLAG_SYNC, &ev);
                }
                if (rc == -EAGAIN)
                    continue;
            }
            if (rc == LIBEVDEV_READ_STATUS_SUCCESS) {
                atender(ev);
                if (!dev_)
                    return; // let go by what the event did
                continue;
            }
            if (rc != -EAGAIN)
                perder(); // unplugged (ENODEV) or an error
            return;
        }
    }

    void leerUdev() {
        udev_device* d = udev_monitor_receive_device(monitor_);
        if (!d)
            return;
        const char* accion = udev_device_get_action(d);
        const char* nodo = udev_device_get_devnode(d);
        const bool alta = accion && qstrcmp(accion, "add") == 0;
        const bool evento = nodo && QByteArray(nodo).startsWith("/dev/input/event");
        udev_device_unref(d);
        if (alta && evento)
            intentar();
    }

    std::optional<SenaDispositivo> sena_;
    FalloCaja fallo_ = FalloCaja::Ninguno;
    QString ruta_;
    libevdev* dev_ = nullptr;
    int fd_ = -1;
    QObject contexto_;
    std::unique_ptr<QSocketNotifier> aviso_;
    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
    std::unique_ptr<QSocketNotifier> avisoUdev_;
    QTimer reintento_;
};

} // namespace

QList<DispositivoEntrada> DispositivosDeSysfs(const QString& sys, const QString& dev) {
    // by-id names, by the node they point to.
    QMap<QString, QString> ids;
    const QDir porId(dev + QStringLiteral("/by-id"));
    for (const QFileInfo& f :
         porId.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString nodo = QFileInfo(f.symLinkTarget()).fileName();
        if (!nodo.isEmpty() && !ids.contains(nodo))
            ids.insert(nodo, f.fileName());
    }
    QList<DispositivoEntrada> r;
    const QDir clase(sys);
    for (const QString& evento :
         clase.entryList({QStringLiteral("event*")}, QDir::AllEntries | QDir::System, QDir::Name)) {
        const QString base = sys + QLatin1Char('/') + evento + QStringLiteral("/device/");
        DispositivoEntrada d;
        d.ruta = dev + QLatin1Char('/') + evento;
        d.id = ids.value(evento);
        d.nombre = leerLinea(base + QStringLiteral("name"));
        d.vendor =
            static_cast<quint16>(leerLinea(base + QStringLiteral("id/vendor")).toUInt(nullptr, 16));
        d.product = static_cast<quint16>(
            leerLinea(base + QStringLiteral("id/product")).toUInt(nullptr, 16));
        const std::set<int> teclas = bits(leerLinea(base + QStringLiteral("capabilities/key")));
        const std::set<int> ejes = bits(leerLinea(base + QStringLiteral("capabilities/rel")));
        int letras = 0;
        bool mando = false;
        for (int c : teclas) {
            letras += esLetra(c) ? 1 : 0;
            mando = mando || esDeMando(c);
        }
        const bool puntero = (ejes.count(REL_X) && ejes.count(REL_Y)) || teclas.count(BTN_TOUCH) ||
                             teclas.count(BTN_TOOL_FINGER);
        d.tipo = ClasificarDispositivo(d.nombre, static_cast<int>(teclas.size()), letras, puntero,
                                       mando);
        if (SeOfrece(d.tipo))
            r.append(d);
    }
    // The event nodes in number order: event10 after event9.
    std::sort(r.begin(), r.end(), [](const DispositivoEntrada& a, const DispositivoEntrada& b) {
        return a.ruta.size() != b.ruta.size() ? a.ruta.size() < b.ruta.size() : a.ruta < b.ruta;
    });
    return r;
}

QString NombreCodigo(int codigo) {
    const char* n = libevdev_event_code_get_name(EV_KEY, static_cast<unsigned>(codigo));
    return n ? QStringLiteral("%1 (%2)").arg(QString::fromLatin1(n)).arg(codigo)
             : QString::number(codigo);
}

std::unique_ptr<CajaUsb> CrearCajaUsb() {
    return std::make_unique<CajaEvdev>();
}

} // namespace quimbal
