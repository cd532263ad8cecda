#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>
#include <memory>

namespace rp::prueba {

// Runs `accion` on the first window of type T once it is the active modal
// window (checked every few milliseconds). After `limiteMs` without it the
// watch stops and `alVencer` runs (a test fails there instead of hanging on
// a dialog nobody closes).
template <typename T>
void alAparecerModal(std::function<void(T&)> accion, int limiteMs = 10000,
                     std::function<void()> alVencer = nullptr) {
    auto* reloj = new QTimer;
    auto restante = std::make_shared<int>(limiteMs);
    reloj->setInterval(5);
    QObject::connect(reloj, &QTimer::timeout, [reloj, accion, alVencer, restante] {
        if (auto* v = qobject_cast<T*>(QApplication::activeModalWidget()); v && v->isVisible()) {
            reloj->stop();
            reloj->deleteLater();
            accion(*v);
            return;
        }
        *restante -= reloj->interval();
        if (*restante <= 0) {
            reloj->stop();
            reloj->deleteLater();
            if (alVencer)
                alVencer();
        }
    });
    reloj->start();
}

} // namespace rp::prueba
