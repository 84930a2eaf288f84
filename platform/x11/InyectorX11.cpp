// Injection on X11 with the XTest extension, on a connection of its own.
//
// Key strokes are typed on the keyboard layout that is active: each character
// is looked up in the current keymap (the active group, with the modifiers the
// layout needs for its level, taking a locked Caps Lock into account). A
// character without a key in the layout is typed through a spare keycode
// (one without any symbol) that is mapped to it for the moment and restored
// once no stroke has needed it for a short while: the target application
// reads the new mapping when it handles the key, so restoring at once would
// race with it.
//
// A whole string is planned before anything is sent; a stroke that cannot be
// typed makes the call fail with nothing sent. Every key pressed is released
// in the same batch, modifiers last.
#include "platform/x11/InyectorX11.h"

#include <QTimer> // Qt before X11: the X11 headers define Bool, Status, ...
#include <chrono>
#include <thread>

#include "platform/x11/MapaTeclado.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <map>
#include <vector>

namespace quimbal {

namespace {

// How long a spare keycode keeps its temporary character after its last use.
constexpr int kRestaurarMs = 1500;

// Xlib ends the process on a protocol error unless a handler says otherwise.
// Errors on the injector's own connection are noted; others go on to the
// handler that was there before.
Display* pantallaPropia = nullptr;
bool huboError = false;
XErrorHandler manejadorAnterior = nullptr;

int alErrorX(Display* d, XErrorEvent* e) {
    if (d == pantallaPropia) {
        huboError = true;
        return 0;
    }
    return manejadorAnterior ? manejadorAnterior(d, e) : 0;
}

KeySym simboloDe(TeclaNombrada t) {
    switch (t) {
    case TeclaNombrada::Enter:
        return XK_Return;
    case TeclaNombrada::Esc:
        return XK_Escape;
    case TeclaNombrada::Tab:
        return XK_Tab;
    case TeclaNombrada::Arriba:
        return XK_Up;
    case TeclaNombrada::Abajo:
        return XK_Down;
    case TeclaNombrada::Izquierda:
        return XK_Left;
    case TeclaNombrada::Derecha:
        return XK_Right;
    case TeclaNombrada::RePag:
        return XK_Prior;
    case TeclaNombrada::AvPag:
        return XK_Next;
    case TeclaNombrada::Retroceso:
        return XK_BackSpace;
    case TeclaNombrada::Suprimir:
        return XK_Delete;
    case TeclaNombrada::Inicio:
        return XK_Home;
    case TeclaNombrada::Fin:
        return XK_End;
    case TeclaNombrada::Insertar:
        return XK_Insert;
    case TeclaNombrada::Ninguna:
        return NoSymbol;
    default:
        break;
    }
    return XK_F1 + (static_cast<int>(t) - static_cast<int>(TeclaNombrada::F1));
}

struct Evento {
    KeyCode codigo;
    bool abajo;
};

class InyectorX11 : public QObject, public Inyector {
public:
    explicit InyectorX11(Display* d) : d_(d) {
        pantallaPropia = d;
        manejadorAnterior = XSetErrorHandler(alErrorX);
        restaurar_.setSingleShot(true);
        restaurar_.setInterval(kRestaurarMs);
        connect(&restaurar_, &QTimer::timeout, this, [this] { restaurarPrestadas(); });
    }
    ~InyectorX11() override {
        restaurarPrestadas();
        XSync(d_, False);
        XSetErrorHandler(manejadorAnterior);
        pantallaPropia = nullptr;
        XCloseDisplay(d_);
    }

    bool boton(BotonRaton b, bool abajo) override {
        huboError = false;
        const unsigned numero = b == BotonRaton::Izquierdo ? 1 : 3;
        const bool hecho = XTestFakeButtonEvent(d_, numero, abajo ? True : False, CurrentTime);
        XSync(d_, False);
        ultimoBoton_ = std::chrono::steady_clock::now();
        return hecho && !huboError;
    }

    bool teclear(const QList<Pulsacion>& pulsaciones) override {
        huboError = false;
        std::vector<Evento> eventos;
        if (!planear(pulsaciones, eventos))
            return false;
        esperarTrasBoton();
        for (const Evento& e : eventos)
            XTestFakeKeyEvent(d_, e.codigo, e.abajo ? True : False, CurrentTime);
        XFlush(d_);
        if (!prestadas_.empty())
            restaurar_.start();
        return true;
    }

private:
    // A plain character comes out as itself whatever Caps Lock says; with
    // modifiers the stroke is a shortcut, made of the key as on an unlocked
    // keyboard (CTRL+a stays CTRL+a with Caps Lock on).
    static bool segunBloqueos(const Pulsacion& p) { return !p.mayusculas && !p.control && !p.alt; }

    // Turns the strokes into key events on the current keymap, lending spare
    // keycodes to the characters the layout lacks. False: nothing can be sent.
    bool planear(const QList<Pulsacion>& pulsaciones, std::vector<Evento>& eventos) {
        MapaTeclado mapa(d_);
        if (!mapa.valido())
            return false;

        // Characters without a key: lend each a spare keycode, then read the
        // keymap again so that they are found like any other.
        std::vector<std::pair<KeySym, KeySym>> faltan;
        for (const Pulsacion& p : pulsaciones) {
            if (p.tecla != TeclaNombrada::Ninguna || p.caracter == 0)
                continue;
            if (mapa.buscarCaracter(p.caracter, segunBloqueos(p)))
                continue;
            const auto par = MapaTeclado::simbolosParaPrestar(p.caracter);
            if (std::find(faltan.begin(), faltan.end(), par) == faltan.end())
                faltan.push_back(par);
        }
        if (!faltan.empty()) {
            std::vector<KeyCode> libres = mapa.codigosLibres();
            if (libres.size() < faltan.size())
                return false;
            for (std::size_t i = 0; i < faltan.size(); ++i) {
                const KeyCode kc = libres[libres.size() - 1 - i];
                KeySym par[2] = {faltan[i].first, faltan[i].second};
                XChangeKeyboardMapping(d_, kc, 2, par, 1);
                prestadas_[kc] = faltan[i];
            }
            restaurar_.start(); // even if what follows fails
            mapa = MapaTeclado(d_);
            if (!mapa.valido() || huboError)
                return false;
        }

        for (const Pulsacion& p : pulsaciones) {
            Combinacion tecla;
            if (p.tecla != TeclaNombrada::Ninguna) {
                const auto c = mapa.buscarSimbolo(simboloDe(p.tecla), segunBloqueos(p));
                if (!c)
                    return false;
                tecla = *c;
            } else if (p.caracter != 0) {
                const auto c = mapa.buscarCaracter(p.caracter, segunBloqueos(p));
                if (!c)
                    return false;
                tecla = *c;
            }
            std::vector<KeyCode> modificadores;
            auto anadir = [&](KeySym s) {
                const KeyCode kc = mapa.teclaModificadora(s);
                if (kc == 0)
                    return false;
                if (std::find(modificadores.begin(), modificadores.end(), kc) ==
                    modificadores.end())
                    modificadores.push_back(kc);
                return true;
            };
            if ((p.mayusculas || tecla.mayusculas) && !anadir(XK_Shift_L))
                return false;
            if (p.control && !anadir(XK_Control_L))
                return false;
            if (p.alt && !anadir(XK_Alt_L))
                return false;
            if (tecla.nivel3 && !anadir(XK_ISO_Level3_Shift))
                return false;
            for (KeyCode m : modificadores)
                eventos.push_back({m, true});
            if (tecla.codigo != 0) {
                eventos.push_back({tecla.codigo, true});
                eventos.push_back({tecla.codigo, false});
            }
            for (auto m = modificadores.rbegin(); m != modificadores.rend(); ++m)
                eventos.push_back({*m, false});
        }
        return true;
    }

    void restaurarPrestadas() {
        restaurar_.stop();
        for (const auto& [kc, par] : prestadas_) {
            KeySym nada[2] = {NoSymbol, NoSymbol};
            XChangeKeyboardMapping(d_, kc, 2, nada, 1);
        }
        prestadas_.clear();
        XFlush(d_);
    }

    // Toolkits that read pointer and key events in one batch may hand a key
    // that follows a click straight to the window before the click itself.
    // Keys sent right after a button event therefore wait a moment, so that a
    // click then a letter arrive as a click then a letter.
    void esperarTrasBoton() {
        const auto desde = std::chrono::steady_clock::now() - ultimoBoton_;
        if (desde < kPausaTrasBoton)
            std::this_thread::sleep_for(kPausaTrasBoton - desde);
    }
    static constexpr std::chrono::milliseconds kPausaTrasBoton{15};

    Display* d_;
    std::chrono::steady_clock::time_point ultimoBoton_{};
    QTimer restaurar_;
    std::map<KeyCode, std::pair<KeySym, KeySym>> prestadas_;
};

} // namespace

std::unique_ptr<Inyector> CrearInyectorX11(QString& motivo) {
    const QByteArray nombre = qgetenv("DISPLAY");
    if (nombre.isEmpty()) {
        motivo = QStringLiteral("no hay pantalla X (DISPLAY no está definida)");
        return nullptr;
    }
    int mayor = XkbMajorVersion, menor = XkbMinorVersion;
    Display* d = XkbOpenDisplay(nombre.constData(), nullptr, nullptr, &mayor, &menor, nullptr);
    if (!d) {
        motivo = QStringLiteral("no se puede abrir la pantalla X %1 o no tiene XKB")
                     .arg(QString::fromLocal8Bit(nombre));
        return nullptr;
    }
    int ev, err, may, men;
    if (!XTestQueryExtension(d, &ev, &err, &may, &men)) {
        XCloseDisplay(d);
        motivo = QStringLiteral("la pantalla X %1 no tiene la extensión XTest")
                     .arg(QString::fromLocal8Bit(nombre));
        return nullptr;
    }
    return std::make_unique<InyectorX11>(d);
}

} // namespace quimbal
