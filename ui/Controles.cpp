#include "ui/Controles.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <cmath>

namespace quimbal {

namespace {
constexpr double kPuntosPorPulgadaDelDiseno = 96.0;
constexpr double kHolgura = 1.05;
} // namespace

double EscalaDeTexto() {
    const QScreen* pantalla = QGuiApplication::primaryScreen();
    if (!pantalla)
        return 1.0;
    const double escala = pantalla->logicalDotsPerInchY() / kPuntosPorPulgadaDelDiseno;
    // Text drawn larger does not grow exactly in proportion (glyphs are
    // fitted to whole pixels): a little more room than the ratio.
    return escala > 1.0 ? escala * kHolgura : 1.0;
}

int pixeles(int t) {
    const double escala = EscalaDeTexto();
    return escala == 1.0 ? twips(t) : static_cast<int>(std::lround(t * escala / 15.0));
}

void colocar(QWidget* w, int izquierda, int arriba, int ancho, int alto) {
    w->setGeometry(pixeles(izquierda), pixeles(arriba), pixeles(ancho), pixeles(alto));
}

void fijarTamano(QWidget* ventana, int ancho, int alto) {
    ventana->setFixedSize(pixeles(ancho), pixeles(alto));
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

LuzDeTest::LuzDeTest(const QString& texto, QWidget* padre) : Etiqueta(texto, padre) {
    setConBorde(true);
    nombrar();
}

void LuzDeTest::setOpaca(bool encendida) {
    if (encendida == Opaca())
        return;
    Etiqueta::setOpaca(encendida);
    nombrar();
}

void LuzDeTest::nombrar() {
    QString caption = text();
    caption.replace(QLatin1Char('\n'), QLatin1Char(' '));
    setAccessibleName(caption +
                      (Opaca() ? QStringLiteral(": pulsado") : QStringLiteral(": suelto")));
    // This toolkit does not announce a new accessible name by itself.
    QAccessibleEvent cambio(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&cambio);
}

void LuzDeTest::paintEvent(QPaintEvent* e) {
    Etiqueta::paintEvent(e);
    if (!Opaca())
        return;
    QPainter p(this);
    const int g = kGrosorMarco, w = width(), h = height();
    for (const QRect& r :
         {QRect(0, 0, w, g), QRect(0, h - g, w, g), QRect(0, 0, g, h), QRect(w - g, 0, g, h)})
        p.fillRect(r, ColorDelMarco());
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
