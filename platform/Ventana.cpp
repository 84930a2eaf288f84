#include "platform/Ventana.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace quimbal {

namespace {
const QEvent::Type kEventoMensaje = static_cast<QEvent::Type>(QEvent::registerEventType());

struct EventoMensaje : QEvent {
    EventoMensaje(std::uint32_t m, WPARAM w, LPARAM l)
        : QEvent(kEventoMensaje), msg(m), wParam(w), lParam(l) {}
    std::uint32_t msg;
    WPARAM wParam;
    LPARAM lParam;
};
} // namespace

Ventana* Ventana::de(QWidget* widget) {
    if (!widget)
        return nullptr;
    if (auto* v = widget->findChild<Ventana*>(QString(), Qt::FindDirectChildrenOnly))
        return v;
    return new Ventana(widget);
}

Ventana::Ventana(QObject* padre) : QObject(padre) {}
Ventana::~Ventana() = default;

QWidget* Ventana::widget() const { return qobject_cast<QWidget*>(parent()); }

LRESULT Ventana::ProcPredeterminado(HWND, std::uint32_t, WPARAM, LPARAM) { return 0; }

bool Ventana::event(QEvent* e) {
    if (e->type() == kEventoMensaje) {
        auto* m = static_cast<EventoMensaje*>(e);
        proc_(this, m->msg, m->wParam, m->lParam);
        return true;
    }
    return QObject::event(e);
}

ProcVentana SetWindowLong(HWND hWnd, int indice, ProcVentana nuevo) {
    if (!hWnd || indice != GWL_WNDPROC || !nuevo)
        return nullptr;
    ProcVentana anterior = hWnd->proc_;
    hWnd->proc_ = nuevo;
    return anterior;
}

LRESULT CallWindowProc(ProcVentana proc, HWND hWnd, std::uint32_t uMsg, WPARAM wParam,
                       LPARAM lParam) {
    return proc ? proc(hWnd, uMsg, wParam, lParam) : 0;
}

LRESULT SendMessage(HWND hWnd, std::uint32_t uMsg, WPARAM wParam, LPARAM lParam) {
    return hWnd ? CallWindowProc(hWnd->procedimiento(), hWnd, uMsg, wParam, lParam) : 0;
}

bool PostMessage(HWND hWnd, std::uint32_t uMsg, WPARAM wParam, LPARAM lParam) {
    if (!hWnd)
        return false;
    QCoreApplication::postEvent(hWnd, new EventoMensaje(uMsg, wParam, lParam));
    return true;
}

} // namespace quimbal
