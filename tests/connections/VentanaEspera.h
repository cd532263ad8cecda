#pragma once

#include "connections/widgets/VentanaAcceso.h"

#include <QApplication>
#include <QTimer>
#include <functional>

// Runs `accion` on the connection dialog as soon as it is shown modally
// (checked every few milliseconds, for at most ten seconds).
inline void alMostrarse(std::function<void(rp::connections::VentanaAcceso&)> accion) {
    auto* reloj = new QTimer;
    auto intentos = std::make_shared<int>(0);
    reloj->setInterval(5);
    QObject::connect(reloj, &QTimer::timeout, [reloj, accion, intentos] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* v = qobject_cast<rp::connections::VentanaAcceso*>(w);
            if (v && v->isVisible() && QApplication::activeModalWidget() == v) {
                reloj->stop();
                reloj->deleteLater();
                accion(*v);
                return;
            }
        }
        if (++*intentos > 2000) {
            reloj->stop();
            reloj->deleteLater();
        }
    });
    reloj->start();
}
