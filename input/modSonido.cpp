#include "input/modSonido.h"

#include "platform/Dialogos.h"
#include "platform/LibreriaSonido.h"
#include "platform/Servicios.h"
#include "profiles/Declaraciones.h"

#include <algorithm>
#include <limits>

namespace quimbal {

ProcVentana ProcAnteriorSonido = nullptr;

namespace {
const char* const kErrorVersion = "Error con la DLL TotiPMSpeechRecognitionEngine!";
const char* const kErrorInicio = "No se ha podido iniciar la DLL de reconocimiento de sonido!";

// Holds a window's reading handler; a child of the window object, so it goes
// with it.
class Receptor : public QObject {
public:
    explicit Receptor(QObject* padre) : QObject(padre) {}
    ReceptorNivel manejar;
};

Receptor* receptorDe(HWND hWnd) {
    return hWnd ? hWnd->findChild<Receptor*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

std::int16_t aNivel(LPARAM lParam) {
    // The component never sends more than 128; anything beyond 16 bits is
    // taken as the loudest (or softest) value rather than wrapped around.
    const LPARAM min = std::numeric_limits<std::int16_t>::min();
    const LPARAM max = std::numeric_limits<std::int16_t>::max();
    return static_cast<std::int16_t>(std::clamp(lParam, min, max));
}
} // namespace

void RegistrarReceptorNivel(HWND hWnd, ReceptorNivel receptor) {
    if (!hWnd)
        return;
    Receptor* r = receptorDe(hWnd);
    if (!r)
        r = new Receptor(hWnd);
    r->manejar = std::move(receptor);
}

void IniciarCapturaSonido(HWND hWnd) {
    // Installed once: a second start must not chain the hook onto itself.
    if (hWnd && hWnd->procedimiento() != &ProcVentanaSonido)
        ProcAnteriorSonido = SetWindowLong(hWnd, GWL_WNDPROC, &ProcVentanaSonido);
    LibreriaSonido* libreria = servicios().sonido;
    if (libreria && libreria->NumeroVersio() < kVersionMinimaSonido) {
        MsgBox(QString::fromUtf8(kErrorVersion), vbOKOnly);
        return;
    }
    // A component that cannot be loaded at all cannot start either.
    if (!libreria || libreria->IniciarCapturaNivellDeSo(hWnd) != 0)
        MsgBox(QString::fromUtf8(kErrorInicio), vbOKOnly);
}

void FinalizarCapturaSonido(HWND hWnd) {
    if (LibreriaSonido* libreria = servicios().sonido)
        libreria->FinalitzarCapturaNivellDeSo();
    if (ProcAnteriorSonido) {
        SetWindowLong(hWnd, GWL_WNDPROC, ProcAnteriorSonido);
        ProcAnteriorSonido = nullptr;
    }
}

LRESULT ProcVentanaSonido(HWND hWnd, std::uint32_t uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_NIVEL_SONIDO) {
        if (Receptor* r = receptorDe(hWnd); r && r->manejar)
            r->manejar(aNivel(lParam));
        return 0;
    }
    return CallWindowProc(ProcAnteriorSonido, hWnd, uMsg, wParam, lParam);
}

int UmbralValido(int umbral) {
    return std::clamp(umbral, 1, 10);
}

void ProcesarNivelSonido(std::int16_t nivel, const ControlesSonido& c) {
    const Usuario& u = UsuarioEnUso();
    if (u.Modo != kModoSonido)
        return;
    // A stored step outside 1..10 would make silence trigger (0 or less) or
    // nothing trigger (over 10): the nearest valid step is used instead.
    const double umbral = static_cast<double>(UmbralValido(u.Umbral)) * FACTOR_NIVEL;
    if (static_cast<double>(nivel) >= umbral) {
        if (ModoTest) {
            c.lblTestSonido->setOpaca(true);
            return;
        }
        if (c.tmrDelaySonido->Enabled())
            return;
        // The delay runs before the action: the action pumps events, and
        // readings handled meanwhile must find the input already triggered.
        c.tmrDelaySonido->setEnabled(true);
        if (c.ActivarSwitch1)
            c.ActivarSwitch1();
    } else if (ModoTest) {
        c.lblTestSonido->setOpaca(false);
    }
}

} // namespace quimbal
