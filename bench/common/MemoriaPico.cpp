#include "common/MemoriaPico.h"

#include <QFile>

namespace rp::bench {

namespace {

qint64 campoKb(const char* nombre) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefijo = QByteArray(nombre) + ':';
    for (const QByteArray& linea : f.readAll().split('\n')) {
        if (linea.startsWith(prefijo)) {
            const QByteArray valor = linea.mid(prefijo.size()).trimmed();
            return valor.left(valor.indexOf(' ')).toLongLong();
        }
    }
    return -1;
}

} // namespace

qint64 MemoriaPico::actualKb() {
    return campoKb("VmRSS");
}

qint64 MemoriaPico::picoKb() {
    return campoKb("VmHWM");
}

bool MemoriaPico::reiniciarPico() {
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (!f.open(QIODevice::WriteOnly))
        return false;
    return f.write("5") == 1 && f.flush();
}

} // namespace rp::bench
