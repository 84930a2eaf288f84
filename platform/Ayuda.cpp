#include "platform/Ayuda.h"

#include "platform/Servicios.h"

namespace quimbal {

bool WinHelp(HWND hWndMain, const QString& archivo, std::uint32_t uCommand, std::uintptr_t dwData) {
    Ayuda* a = servicios().ayuda;
    return a ? a->WinHelp(hWndMain, archivo, uCommand, dwData) : false;
}

} // namespace quimbal
