#pragma once
// The controls of the program's windows, with the behaviour the rest of the
// program relies on: a handler runs when the user changes a control AND when
// the program itself sets it (selecting a list entry, setting a text, selecting
// an option button). Handlers are plain callbacks set once by the window.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <functional>

namespace quimbal {

using Manejador = std::function<void()>;

// Positions and sizes of the window tables are in twips: 15 to a pixel.
constexpr int twips(int t) { return (t + 7) / 15; }
void colocar(QWidget* w, int izquierda, int arriba, int ancho, int alto);

// Drop-down list: the user picks an entry and cannot type. ListIndex is -1
// while nothing is selected, also right after entries are added.
class Lista : public QComboBox {
    Q_OBJECT
public:
    explicit Lista(QWidget* padre = nullptr);
    Manejador Click;

    void AddItem(const QString& texto);
    void RemoveItem(int indice);
    void Clear();
    int ListCount() const { return count(); }
    QString List(int indice) const { return itemText(indice); }
    int ListIndex() const { return currentIndex(); }
    // Selecting an entry from code runs Click exactly as the user's choice
    // does, even when the entry was selected already. -1 clears the selection
    // and runs nothing.
    void setListIndex(int indice);
    // Text of the selected entry, empty when none.
    QString Text() const { return currentIndex() < 0 ? QString() : currentText(); }

private:
    void alElegir(int indice);
};

// One-line text box; Change runs on every change of its text, whoever makes it.
class CajaTexto : public QLineEdit {
    Q_OBJECT
public:
    explicit CajaTexto(QWidget* padre = nullptr);
    Manejador Change;
    QString Text() const { return text(); }
    void setText(const QString& t) { QLineEdit::setText(t); }
};

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

private:
    void aplicar();
    QColor fondo_;
    bool opaca_ = false;
    bool borde_ = false;
};

// Option button: Click runs when it becomes selected, by the user or by code.
class Opcion : public QRadioButton {
    Q_OBJECT
public:
    explicit Opcion(const QString& texto, QWidget* padre = nullptr);
    Manejador Click;
    bool Value() const { return isChecked(); }
    void setValue(bool v) { setChecked(v); }
};

class Boton : public QPushButton {
    Q_OBJECT
public:
    explicit Boton(const QString& texto, QWidget* padre = nullptr);
    Manejador Click;
    // A press from code, as a user's click.
    void pulsar() { click(); }
};

class Marco : public QGroupBox {
    Q_OBJECT
public:
    explicit Marco(const QString& titulo, QWidget* padre = nullptr);
};

// Timer that ticks every Interval ms while Enabled. Setting Interval while it
// runs starts the count again; Interval 0 keeps it from ticking.
class Temporizador : public QObject {
    Q_OBJECT
public:
    explicit Temporizador(QObject* padre = nullptr);
    Manejador Timer;
    bool Enabled() const { return enabled_; }
    void setEnabled(bool e);
    int Interval() const { return intervalo_; }
    void setInterval(int ms);
    // For tests: run one tick now, as the timer would.
    void disparar();

private:
    void actualizar();
    QTimer timer_;
    bool enabled_ = false;
    int intervalo_ = 0;
};

} // namespace quimbal
