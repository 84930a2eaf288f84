#pragma once
// The start screen: the program's name, version and credits on a white,
// borderless window. A key that produces a character, or a click on its
// content, leaves it for the configuration window; F10 shows a message.
#include "platform/Controles.h"

#include <QWidget>
#include <functional>

class QFrame;

namespace quimbal {

class frmInicio : public QWidget {
    Q_OBJECT
public:
    explicit frmInicio(QWidget* padre = nullptr);
    ~frmInicio() override;

    QFrame* Frame1;
    QLabel* Lo;
    QLabel* lblLi;
    QLabel* lblCo;
    QLabel* lblVe;
    QLabel* lblCp;
    QLabel* lblCm;
    QLabel* lblLi1;
    QLabel* lblLi2;
    QLabel* lblLi3;
    Boton* cmdContinuar;

    // Shows the configuration window: set by the program.
    std::function<void()> MostrarVentanaPrincipal;
    // The window manager closed the start screen (nothing is loaded yet):
    // the program ends. Set by the program.
    std::function<void()> Cerrada;

    void Form_Load();
    // Key down (key code) and key press (character code), seen before the
    // control with the focus sees them.
    void Form_KeyDown(int codigoTecla);
    void Form_KeyPress(const QString& caracter);
    // Unloads the start screen and shows the configuration window; once.
    void Continuar();

    // The F10 message, as computed from its stored text.
    static QString MensajeF10();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    bool seguido_ = false;
};

} // namespace quimbal
