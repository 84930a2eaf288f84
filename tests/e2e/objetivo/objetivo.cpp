// Target window of the end-to-end tests: a window titled "Objetivo" that takes
// the focus and appends one line per input event it receives to the log file
// named on its command line. Each line is written at once (no buffering) and
// starts with the CLOCK_MONOTONIC time in microseconds, so that other programs
// can compare their own clock readings with it:
//
//   123456789 PRESS left            mouse button pressed (left/right/middle)
//   123456790 RELEASE left          mouse button released (the second press of
//                                   a double click is a PRESS like any other)
//   123456792 KEY A mods=shift text=A sym=0x41
//   123456793 KEYUP A mods=shift text=A sym=0x41
//   123456794 FOCUSIN / FOCUSOUT    keyboard focus gained / lost
//   123456795 ENTER / LEAVE         pointer entered / left the window
//   123456796 READY                 the window is shown
//
// The key name is the toolkit's portable name ("F5", "Return", "Esc", "Ñ",
// "@"); mods lists the modifiers held, joined with '+' ("shift+ctrl"), or
// "none"; in text, characters up to the space and backslash are written \xNN.
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <QWidget>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace {

int registro = -1;

long long microsegundos() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000000LL + t.tv_nsec / 1000;
}

void anotar(const QString& linea) {
    const QByteArray l = QByteArray::number(microsegundos()) + ' ' + linea.toUtf8() + '\n';
    const char* p = l.constData();
    qsizetype resto = l.size();
    while (resto > 0) {
        const ssize_t n = ::write(registro, p, static_cast<size_t>(resto));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        p += n;
        resto -= n;
    }
}

QString boton(Qt::MouseButton b) {
    switch (b) {
    case Qt::LeftButton:
        return QStringLiteral("left");
    case Qt::RightButton:
        return QStringLiteral("right");
    case Qt::MiddleButton:
        return QStringLiteral("middle");
    default:
        return QStringLiteral("other%1").arg(static_cast<int>(b));
    }
}

QString modificadores(Qt::KeyboardModifiers m) {
    QStringList l;
    if (m & Qt::ShiftModifier)
        l << QStringLiteral("shift");
    if (m & Qt::ControlModifier)
        l << QStringLiteral("ctrl");
    if (m & Qt::AltModifier)
        l << QStringLiteral("alt");
    if (m & Qt::MetaModifier)
        l << QStringLiteral("meta");
    return l.isEmpty() ? QStringLiteral("none") : l.join(QLatin1Char('+'));
}

QString escapar(const QString& s) {
    QString r;
    for (QChar c : s) {
        if (c.unicode() <= 0x20 || c == QLatin1Char('\\') || c.unicode() == 0x7f)
            r += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            r += c;
    }
    return r;
}

QString nombreTecla(const QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Shift:
        return QStringLiteral("Shift");
    case Qt::Key_Control:
        return QStringLiteral("Control");
    case Qt::Key_Alt:
        return QStringLiteral("Alt");
    case Qt::Key_Meta:
        return QStringLiteral("Meta");
    case Qt::Key_AltGr:
        return QStringLiteral("AltGr");
    case 0:
    case Qt::Key_unknown:
        return QStringLiteral("unknown");
    default:
        break;
    }
    const QString n = QKeySequence(e->key()).toString(QKeySequence::PortableText);
    return n.isEmpty() ? QStringLiteral("0x%1").arg(e->key(), 0, 16) : n;
}

class Objetivo : public QWidget {
public:
    Objetivo() {
        setWindowTitle(QStringLiteral("Objetivo"));
        setFocusPolicy(Qt::StrongFocus);
        setAttribute(Qt::WA_InputMethodEnabled, false);
        auto* capa = new QVBoxLayout(this);
        capa->addWidget(
            new QLabel(QStringLiteral("Ventana de pruebas: registra lo que recibe."), this));
        resize(420, 300);
    }

protected:
    bool event(QEvent* e) override {
        switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            // The toolkit may deliver the second press of a double click as a
            // double-click event alone, or after the press: one line per press.
            const Qt::MouseButton b = static_cast<QMouseEvent*>(e)->button();
            if (e->type() == QEvent::MouseButtonPress || !(abajo_ & b))
                anotar(QStringLiteral("PRESS ") + boton(b));
            abajo_ |= b;
            break;
        }
        case QEvent::MouseButtonRelease: {
            const Qt::MouseButton b = static_cast<QMouseEvent*>(e)->button();
            abajo_ &= ~Qt::MouseButtons(b);
            anotar(QStringLiteral("RELEASE ") + boton(b));
            break;
        }
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            auto* k = static_cast<QKeyEvent*>(e);
            anotar(QStringLiteral("%1 %2 mods=%3 text=%4 sym=0x%5%6")
                       .arg(e->type() == QEvent::KeyPress ? QStringLiteral("KEY")
                                                          : QStringLiteral("KEYUP"),
                            nombreTecla(k), modificadores(k->modifiers()), escapar(k->text()))
                       .arg(k->nativeVirtualKey(), 0, 16)
                       .arg(k->isAutoRepeat() ? QStringLiteral(" repeat") : QString()));
            e->accept();
            return true; // keep Tab and the arrows from moving the focus
        }
        case QEvent::FocusIn:
            anotar(QStringLiteral("FOCUSIN"));
            break;
        case QEvent::FocusOut:
            anotar(QStringLiteral("FOCUSOUT"));
            break;
        case QEvent::Enter:
            anotar(QStringLiteral("ENTER"));
            break;
        case QEvent::Leave:
            anotar(QStringLiteral("LEAVE"));
            break;
        default:
            break;
        }
        return QWidget::event(e);
    }
    bool focusNextPrevChild(bool) override { return false; }

private:
    Qt::MouseButtons abajo_;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "uso: objetivo REGISTRO\n");
        return 2;
    }
    registro = ::open(argv[1], O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (registro < 0) {
        std::perror(argv[1]);
        return 2;
    }
    QApplication app(argc, argv);
    Objetivo w;
    w.show();
    w.activateWindow();
    w.raise();
    w.setFocus();
    anotar(QStringLiteral("READY"));
    return app.exec();
}
