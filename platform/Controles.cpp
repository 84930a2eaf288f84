#include "platform/Controles.h"

namespace quimbal {

void colocar(QWidget* w, int izquierda, int arriba, int ancho, int alto) {
    w->setGeometry(twips(izquierda), twips(arriba), twips(ancho), twips(alto));
}

Lista::Lista(QWidget* padre) : QComboBox(padre) {
    setEditable(false);
    connect(this, &QComboBox::activated, this, [this](int i) { alElegir(i); });
}

void Lista::AddItem(const QString& texto) {
    const int antes = currentIndex();
    QSignalBlocker b(this);
    addItem(texto);
    // A Qt list selects its first entry by itself; ours stays unselected.
    if (antes < 0)
        setCurrentIndex(-1);
}

void Lista::RemoveItem(int indice) {
    if (indice < 0 || indice >= count())
        return;
    const int antes = currentIndex();
    QSignalBlocker b(this);
    removeItem(indice);
    if (antes == indice)
        setCurrentIndex(-1);
    else if (antes > indice)
        setCurrentIndex(antes - 1);
}

void Lista::Clear() {
    QSignalBlocker b(this);
    clear();
}

void Lista::setListIndex(int indice) {
    if (indice < -1 || indice >= count())
        return;
    {
        QSignalBlocker b(this);
        setCurrentIndex(indice);
    }
    if (indice >= 0)
        alElegir(indice);
}

void Lista::alElegir(int) {
    if (Click)
        Click();
}

CajaTexto::CajaTexto(QWidget* padre) : QLineEdit(padre) {
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (Change)
            Change();
    });
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

Opcion::Opcion(const QString& texto, QWidget* padre) : QRadioButton(texto, padre) {
    connect(this, &QRadioButton::toggled, this, [this](bool marcado) {
        if (marcado && Click)
            Click();
    });
}

Boton::Boton(const QString& texto, QWidget* padre) : QPushButton(texto, padre) {
    connect(this, &QPushButton::clicked, this, [this] {
        if (Click)
            Click();
    });
}

Marco::Marco(const QString& titulo, QWidget* padre) : QGroupBox(titulo, padre) {}

Temporizador::Temporizador(QObject* padre) : QObject(padre) {
    // Never early: a coarse timer may tick up to 5 % before its interval,
    // which would cut the re-arm delay short.
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] { disparar(); });
}

void Temporizador::setEnabled(bool e) {
    enabled_ = e;
    actualizar();
}

void Temporizador::setInterval(int ms) {
    intervalo_ = ms < 0 ? 0 : ms;
    actualizar();
}

void Temporizador::disparar() {
    if (Timer)
        Timer();
}

void Temporizador::actualizar() {
    if (enabled_ && intervalo_ > 0) {
        timer_.setInterval(intervalo_);
        timer_.start();
    } else {
        timer_.stop();
    }
}

} // namespace quimbal
