#pragma once
// The help viewer: shows a help file of the program in a window of its own.
#include "platform/Ventana.h"

#include <QString>
#include <cstdint>

namespace quimbal {

constexpr std::uint32_t HELP_CONTEXT = 1;
constexpr std::uint32_t HELP_QUIT = 2;
constexpr std::uint32_t HELP_CONTENTS = 3;

class Ayuda {
public:
    virtual ~Ayuda() = default;
    // HELP_CONTENTS opens the file at its contents; HELP_QUIT closes the
    // viewer; HELP_CONTEXT opens the topic numbered by dwData (the contents
    // when the file has no such topic). A file that cannot be shown is told
    // to the user and gives false.
    virtual bool WinHelp(HWND hWndMain, const QString& archivo, std::uint32_t uCommand,
                         std::uintptr_t dwData) = 0;
};

// Through servicios().ayuda; without a backend, false.
bool WinHelp(HWND hWndMain, const QString& archivo, std::uint32_t uCommand, std::uintptr_t dwData);

} // namespace quimbal
