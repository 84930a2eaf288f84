#include "ui/Controles.h"

#include <QPainter>

namespace quimbal {

void colocar(QWidget* w, int izquierda, int arriba, int ancho, int alto) {
    w->setGeometry(twips(izquierda), twips(arriba), twips(ancho), twips(alto));
}

Etiqueta::Etiqueta(const QString& texto, QWidget* padre) : QLabel(texto, padre) {
    setAutoFillBackground(false);
    aplicar();
}

void Etiqueta::setBackColor(const QColor& c) {
    fondo_ = c;
    aplicar();
}

void Etiqueta::setOpaca(bool opaca) {
    if (opaca_ == opaca)
        return;
    opaca_ = opaca;
    aplicar();
}

void Etiqueta::setConBorde(bool borde) {
    borde_ = borde;
    aplicar();
}

void Etiqueta::setMarca(const QString& marca) {
    if (marca_ == marca)
        return;
    marca_ = marca;
    update();
}

void Etiqueta::paintEvent(QPaintEvent* e) {
    QLabel::paintEvent(e);
    if (marca_.isEmpty())
        return;
    QPainter p(this);
    p.setPen(Qt::black);
    p.drawText(rect().adjusted(0, 0, -4, -2), Qt::AlignRight | Qt::AlignBottom, marca_);
}

void Etiqueta::aplicar() {
    QString estilo;
    if (borde_)
        estilo += QStringLiteral("border: 1px solid black;");
    if (opaca_ && fondo_.isValid())
        estilo += QStringLiteral("background-color: %1;").arg(fondo_.name());
    else
        estilo += QStringLiteral("background-color: transparent;");
    setStyleSheet(QStringLiteral("QLabel{%1}").arg(estilo));
}

} // namespace quimbal
