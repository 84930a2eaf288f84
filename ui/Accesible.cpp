#include "ui/Accesible.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

namespace quimbal {

namespace {

// A list as a screen reader gets it: its name says what it is (its own
// accessible name, or else the label tied to it; only a list with neither
// is named by its entry) and its value is the entry
// chosen, also as its read-only text. The toolkit's own interface names a
// list by its entry on this system, so "1" or "Click izquierdo" said nothing
// of what was chosen.
class ListaAccesible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ListaAccesible(QComboBox* lista) : QAccessibleWidget(lista, QAccessible::ComboBox) {}

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QComboBox* lista() const { return static_cast<QComboBox*>(object()); }

    QString text(QAccessible::Text t) const override {
        switch (t) {
        case QAccessible::Name: {
            const QString nombre = QAccessibleWidget::text(t);
            return nombre.isEmpty() ? lista()->currentText() : nombre;
        }
        case QAccessible::Value:
            return lista()->currentText();
        default:
            break;
        }
        return QAccessibleWidget::text(t);
    }

    // The drop-down list, where a screen reader finds the entries.
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int i) const override {
        return i == 0 ? QAccessible::queryAccessibleInterface(lista()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* hijo) const override {
        return hijo && hijo->object() == lista()->view() ? 0 : -1;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString& accion) override {
        if (accion != showMenuAction() && accion != pressAction())
            return;
        if (lista()->view()->isVisible())
            lista()->hidePopup();
        else
            lista()->showPopup();
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    // The entry chosen as text that cannot be selected or edited.
    QString text(int inicio, int fin) const override {
        return lista()->currentText().mid(inicio, fin - inicio);
    }
    int characterCount() const override { return static_cast<int>(lista()->currentText().size()); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    void selection(int, int* inicio, int* fin) const override { *inicio = *fin = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* inicio, int* fin) const override {
        *inicio = *fin = 0;
        return QString();
    }
};

QAccessibleInterface* Fabrica(const QString& clase, QObject* objeto) {
    if (clase == QLatin1String("QComboBox"))
        if (auto* lista = qobject_cast<QComboBox*>(objeto); lista && !lista->isEditable())
            return new ListaAccesible(lista);
    return nullptr;
}

// The control with the keyboard focus gets a ring of its own, two pixels
// inside its edge, whether the focus came by key or by mouse: the default
// button's darker frame and a focused list looked alike.
class EstiloConFoco : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawComplexControl(ComplexControl cc, const QStyleOptionComplex* o, QPainter* p,
                            const QWidget* w) const override {
        QProxyStyle::drawComplexControl(cc, o, p, w);
        if (cc == CC_ComboBox || cc == CC_SpinBox)
            anillo(o, p, w);
    }
    void drawControl(ControlElement ce, const QStyleOption* o, QPainter* p,
                     const QWidget* w) const override {
        QProxyStyle::drawControl(ce, o, p, w);
        if (ce == CE_PushButton || ce == CE_RadioButton || ce == CE_CheckBox)
            anillo(o, p, w);
    }
    void drawPrimitive(PrimitiveElement pe, const QStyleOption* o, QPainter* p,
                       const QWidget* w) const override {
        QProxyStyle::drawPrimitive(pe, o, p, w);
        if (pe == PE_PanelLineEdit)
            anillo(o, p, w);
    }

private:
    static void anillo(const QStyleOption* o, QPainter* p, const QWidget* w) {
        // Only the widget's own face: not a list's entries, nor a frame a
        // control draws for a part of itself.
        if (!w || !(o->state & State_HasFocus) || !w->hasFocus() || o->rect != w->rect())
            return;
        p->save();
        p->setRenderHint(QPainter::Antialiasing, false);
        p->setPen(QPen(ColorDeFoco(), 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p->setBrush(Qt::NoBrush);
        // A 2-pixel pen is centred on its line: this one covers pixels 1 and 2.
        p->drawRect(QRectF(o->rect).adjusted(2, 2, -2, -2));
        p->restore();
    }
};

} // namespace

QColor ColorDeFoco() {
    return QColor(0x00, 0x33, 0x99);
}

void InstalarAccesibilidad() {
    static bool instalada = false;
    if (instalada)
        return;
    instalada = true;
    QAccessible::installFactory(Fabrica);
    QApplication::setStyle(new EstiloConFoco(QStyleFactory::create(QApplication::style()->name())));
}

} // namespace quimbal
