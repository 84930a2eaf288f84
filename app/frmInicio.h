#pragma once
// The start screen: the program's name, version and credits on a white,
// borderless window. A key that produces a character, or a click on its
// content, leaves it for the configuration window; F10 shows a message.
#include <QWidget>
#include <functional>

class QFrame;
class QLabel;
class QPushButton;

namespace quimbal {

class Dialogos;

class frmInicio : public QWidget {
    Q_OBJECT
public:
    explicit frmInicio(Dialogos& dialogos, QWidget* padre = nullptr);
    ~frmInicio() override;

    // Each control keeps its object name (in quotes) for tests and tools.
    QFrame* fondo;             // "Frame1": the white ground of the content
    QLabel* logo;              // "Lo"
    QLabel* lblLicencia;       // "lblLi": free-distribution notice
    QLabel* lblNombre;         // "lblCo": the program's name
    QLabel* lblVersion;        // "lblVe"
    QLabel* lblDerechos;       // "lblCp": rights notice
    QLabel* lblAutores;        // "lblCm"
    QLabel* lblCreditoSonido1; // "lblLi1": credit for the sound component, line 1
    QLabel* lblCreditoSonido2; // "lblLi2": line 2
    QLabel* lblNota;           // "lblLi3": a note about the next window
    QPushButton* cmdContinuar;

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
    Dialogos& dialogos_;
    bool seguido_ = false;
};

} // namespace quimbal
