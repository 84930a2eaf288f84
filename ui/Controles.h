#pragma once
// What the windows share: positions given in twips, and the test labels.
#include <QColor>
#include <QLabel>

namespace quimbal {

// Positions and sizes of the window tables are in twips: 15 to a pixel.
constexpr int twips(int t) {
    return (t + 7) / 15;
}

// How much larger than the design's (96 dots per inch) the desktop draws
// text where the toolkit does not scale the whole screen itself, with a
// little room to spare: 1 at the design's size or smaller text. The windows
// grow by it so that no text is cut.
double EscalaDeTexto();
// A length of the window tables in pixels at that scale: exactly twips() at
// the design's size.
int pixeles(int twips);
// Places a control by its table entry, in twips.
void colocar(QWidget* w, int izquierda, int arriba, int ancho, int alto);
// The fixed size of a window from its table entry, in twips.
void fijarTamano(QWidget* ventana, int ancho, int alto);

// Label whose background can be made opaque to show its back colour, or left
// transparent to show only its text (and border).
class Etiqueta : public QLabel {
    Q_OBJECT
public:
    explicit Etiqueta(const QString& texto, QWidget* padre = nullptr);
    void setBackColor(const QColor& c);
    virtual void setOpaca(bool opaca);
    bool Opaca() const { return opaca_; }
    QColor BackColor() const { return fondo_; }
    void setConBorde(bool borde);
    // A small mark in the bottom right corner that tells what became of the
    // last press (accepted, ignored, paused) without colour and without
    // changing the caption; empty: none.
    void setMarca(const QString& marca);
    const QString& Marca() const { return marca_; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void aplicar();
    QColor fondo_;
    bool opaca_ = false;
    bool borde_ = false;
    QString marca_;
};

// A test light: a bordered label lit (opaque, in its back colour) while its
// input is held. Lit, it also gets a thick dark frame inside its edge, seen
// without telling colours apart, and its accessible name says its state
// ("Test del switch 1: pulsado" / "... : suelto"), which a screen reader
// hears change. The caption never changes.
class LuzDeTest : public Etiqueta {
    Q_OBJECT
public:
    explicit LuzDeTest(const QString& texto, QWidget* padre = nullptr);
    void setOpaca(bool encendida) override;
    // The lit frame: its colour and its width in pixels, border included.
    static QColor ColorDelMarco() { return Qt::black; }
    static constexpr int kGrosorMarco = 3;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void nombrar();
};

} // namespace quimbal
