#include "actions/Procedimientos.h"

#include "platform/Inyector.h"
#include "platform/Servicios.h"

#include <initializer_list>

namespace quimbal {

namespace {
void inyectar(std::initializer_list<unsigned> eventos) {
    for (unsigned e : eventos) {
        mouse_event(e, 0, 0, 0, 0); // a failure is ignored: the gesture goes on
        DoEvents();
    }
}
} // namespace

void EmularClick(int codigo) {
    switch (codigo) {
    case kClickIzquierdo:
        inyectar({MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
        break;
    case kClickDerecho:
        inyectar({MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP});
        break;
    case kDobleClickIzquierdo:
        inyectar(
            {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
        break;
    case kPulsarIzquierdo:
        inyectar({MOUSEEVENTF_LEFTDOWN});
        break;
    case kSoltarIzquierdo:
        inyectar({MOUSEEVENTF_LEFTUP});
        break;
    case kPulsarDerecho:
        inyectar({MOUSEEVENTF_RIGHTDOWN});
        break;
    case kSoltarDerecho:
        inyectar({MOUSEEVENTF_RIGHTUP});
        break;
    default:
        break;
    }
}

} // namespace quimbal
