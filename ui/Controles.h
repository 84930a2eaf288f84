#pragma once
// What the windows share: positions given in twips, and the test labels.
#include <QColor>
#include <QLabel>

namespace quimbal {

// Positions and sizes of the window tables are in twips: 15 to a pixel.
constexpr int twips(int t) {
    return (t + 7) / 15;
}
void colocar(QWidget* w, int izquierda, int arriba, int ancho, int alto);

// Label whose background can be made opaque to show its back colour, or left
// transparent to show only its text (and border).
class Etiqueta : public QLabel {
    Q_OBJECT
public:
    explicit Etiqueta(const QString& texto, QWidget* padre = nullptr);
    void setBackColor(const QColor& c);
    void setOpaca(bool opaca);
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

} // namespace quimbal
