#pragma once
// The configuration window as the program runs it: the tray icon and the
// tray hook come before everything else the window loads, and go after
// everything else it unloads.
#include "ui/frmSwitch.h"

namespace quimbal {

class VentanaPrincipal : public frmSwitch {
    Q_OBJECT
public:
    explicit VentanaPrincipal(QWidget* padre = nullptr);
    ~VentanaPrincipal() override;

    void Form_Load() override;
    void Form_Unload() override;
    // Whether the window has unloaded (the load itself may unload it when it
    // cannot go on).
    bool Descargada() const { return descargada_; }

private:
    bool descargada_ = false;
};

} // namespace quimbal
