#pragma once
// Recording message boxes and prompt: every box is logged with its text,
// style and title, and answered from a queue the test fills (OK or No when the
// queue is empty).
#include "platform/Dialogos.h"
#include "platform/Servicios.h"

#include <QList>
#include <QStringList>
#include <functional>

namespace quimbal {

struct MensajeMostrado {
    QString texto;
    int estilo;
    QString titulo;
};

class DialogosFalsos : public Dialogos {
public:
    int mostrarMensaje(const QString& texto, int estilo, const QString& titulo) override;
    QString pedirTexto(const QString& texto, const QString& titulo,
                       const QString& porDefecto) override;

    QList<MensajeMostrado> mensajes;
    QList<MensajeMostrado> preguntas; // prompts: texto, 0, titulo
    QList<int> respuestas;            // answers for the next boxes
    QStringList textos;               // answers for the next prompts
    // Runs while a box or prompt is "open", to observe state at that moment.
    std::function<void()> mientrasAbierto;
};

class BucleFalso : public Bucle {
public:
    void DoEvents() override {
        ++llamadas;
        if (registro)
            registro->append(QStringLiteral("DoEvents"));
        if (alBombear)
            alBombear();
    }
    int llamadas = 0;
    std::function<void()> alBombear;
    // When set, each pump is also noted here as "DoEvents" (InyectorFalso
    // points it at its own record, to show pumps among injected events).
    QStringList* registro = nullptr;
};

// Installs the fakes for the life of a test and removes them after.
struct ServiciosDePrueba {
    DialogosFalsos dialogos;
    BucleFalso bucle;
    ServiciosDePrueba();
    ~ServiciosDePrueba();
};

} // namespace quimbal
