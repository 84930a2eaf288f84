#include "app/subClas.h"

#include "app/modIconBar.h"
#include "platform/Bandeja.h"
#include "profiles/Declaraciones.h"
#include "ui/frmSwitch.h"

#include <QPointer>

namespace quimbal {

ProcVentana ProcAnteriorBandeja = nullptr;

namespace {
// The window the procedure is installed on: the window the icon brings back.
QPointer<Ventana> ventanaEnganchada;
} // namespace

void EngancharVentana(HWND hWnd) {
    ventanaEnganchada = hWnd;
    ProcAnteriorBandeja = SetWindowLong(hWnd, GWL_WNDPROC, &ProcVentanaBandeja);
}

void DesengancharVentana(HWND hWnd) {
    SetWindowLong(hWnd, GWL_WNDPROC, ProcAnteriorBandeja);
    ProcAnteriorBandeja = nullptr;
    ventanaEnganchada = nullptr;
}

LRESULT ProcVentanaBandeja(HWND hWnd, std::uint32_t uMsg, WPARAM wParam, LPARAM lParam) {
    const LRESULT r = CallWindowProc(ProcAnteriorBandeja, hWnd, uMsg, wParam, lParam);
    if (uMsg == kMensajeBandeja && lParam != WM_MOUSEMOVE)
        EventoBandeja(wParam, lParam);
    return r;
}

void EventoBandeja(WPARAM, LPARAM lParam) {
    if (AgregandoUsuario || PreguntandoSalida)
        return;
    if (lParam != WM_LBUTTONDOWN && lParam != WM_LBUTTONDBLCLK && lParam != WM_RBUTTONDOWN)
        return;
    ModoTest = true;
    auto* ventana =
        ventanaEnganchada ? qobject_cast<frmSwitch*>(ventanaEnganchada->widget()) : nullptr;
    if (!ventana)
        return;
    // A window minimised to the task bar (no notification area) comes back
    // as a hidden one does.
    if (ventana->windowState() & Qt::WindowMinimized)
        ventana->setWindowState(ventana->windowState() & ~Qt::WindowMinimized);
    ventana->show();
    ventana->cmdAceptar->setFocus();
}

} // namespace quimbal
