#pragma once
// Help viewer for tests: records every call.
#include "platform/Ayuda.h"

#include <QList>

namespace quimbal {

class AyudaFalsa : public Ayuda {
public:
    AyudaFalsa();
    ~AyudaFalsa() override;
    bool WinHelp(HWND hWndMain, const QString& archivo, std::uint32_t uCommand,
                 std::uintptr_t dwData) override {
        llamadas.append({hWndMain, archivo, uCommand, dwData});
        return true;
    }
    struct Llamada {
        HWND hWnd;
        QString archivo;
        std::uint32_t comando;
        std::uintptr_t datos;
    };
    QList<Llamada> llamadas;
};

} // namespace quimbal
