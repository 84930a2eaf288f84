#pragma once
// The notification-area icon of a window.
//
// An icon is added for a window with a record that names the window, the
// message the shell posts to it for mouse activity on the icon, the icon's
// picture and its tooltip, and it is removed with the same record. For every
// press on the icon the shell posts the callback message to the window with
// wParam = the record's uID and lParam = the mouse message (WM_LBUTTONDOWN
// and so on), through the window's procedure chain.
#include "platform/Ventana.h"

#include <QIcon>
#include <QString>
#include <array>
#include <cstdint>

namespace quimbal {

constexpr std::uint32_t NIM_ADD = 0;
constexpr std::uint32_t NIM_DELETE = 2;
constexpr std::uint32_t NIF_MESSAGE = 1;
constexpr std::uint32_t NIF_ICON = 2;
constexpr std::uint32_t NIF_TIP = 4;

constexpr std::uint32_t WM_MOUSEMOVE = 0x200;
constexpr std::uint32_t WM_LBUTTONDOWN = 0x201;
constexpr std::uint32_t WM_LBUTTONUP = 0x202;
constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x203;
constexpr std::uint32_t WM_RBUTTONDOWN = 0x204;
constexpr std::uint32_t WM_RBUTTONUP = 0x205;
constexpr std::uint32_t WM_RBUTTONDBLCLK = 0x206;
constexpr std::uint32_t WM_MBUTTONDOWN = 0x207;

// The icon record, in the order of the classic 88-byte record.
struct NOTIFYICONDATA {
    std::uint32_t cbSize = 88;
    HWND hWnd = nullptr;
    WPARAM uID = 0;
    std::uint32_t uFlags = 0;
    std::uint32_t uCallbackMessage = 0;
    QIcon hIcon;
    // ANSI text ended by a NUL; what follows the NUL is not part of the tip.
    std::array<char, 64> szTip{};

    QString Tip() const;
};

class Bandeja {
public:
    virtual ~Bandeja() = default;
    // NIM_ADD shows the icon and starts the callback messages; NIM_DELETE
    // removes the icon named by hWnd and uID. Returns whether the shell did it.
    virtual bool Shell_NotifyIcon(std::uint32_t dwMessage, const NOTIFYICONDATA& datos) = 0;
    // Whether the desktop has a notification area that can show the icon.
    virtual bool HayAreaNotificacion() const = 0;
};

// Through servicios().bandeja; without a backend, nothing happens (false).
bool Shell_NotifyIcon(std::uint32_t dwMessage, const NOTIFYICONDATA& datos);
bool HayAreaNotificacion();

} // namespace quimbal
