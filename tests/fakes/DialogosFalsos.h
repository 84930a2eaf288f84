#pragma once
// Recording message boxes and prompt: every box is logged with its text,
// style and title, and answered from a queue the test fills (OK, or No for a
// Yes/No box, when the queue is empty).
#include "platform/Dialogos.h"

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
    QList<MensajeMostrado> mensajes;
    QList<MensajeMostrado> preguntas; // prompts: texto, 0, titulo
    QList<int> respuestas;            // answers for the next boxes
    QStringList textos;               // answers for the next prompts
    // Runs while a box or prompt is "open", to observe state at that moment.
    std::function<void()> mientrasAbierto;

protected:
    int mostrarMensaje(const QString& texto, int estilo, const QString& titulo) override {
        mensajes.append({texto, estilo, titulo});
        if (mientrasAbierto)
            mientrasAbierto();
        if (!respuestas.isEmpty())
            return respuestas.takeFirst();
        return EstiloMensaje::desde(estilo).siNo ? vbNo : vbOK;
    }
    QString pedirTexto(const QString& texto, const QString& titulo) override {
        preguntas.append({texto, 0, titulo});
        if (mientrasAbierto)
            mientrasAbierto();
        return textos.isEmpty() ? QString() : textos.takeFirst();
    }
};

} // namespace quimbal
