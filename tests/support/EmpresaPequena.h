#pragma once

#include "app/demo/DemoDatos.h"

#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace rp::prueba {

// A small demo company generated into a temporary folder of its own, once per
// test suite: the database "EMPRESA.db" (60 articles and `cambios` price
// changes), and room for the files a test writes (ruta). Binaries that use it
// link rp_demo.
class EmpresaPequena {
public:
    explicit EmpresaPequena(int cambios) {
        rp::demo::OpcionesDemo o;
        o.articulos = 60;
        o.cambios = cambios;
        rp::demo::DemoDatos demo(o);
        lista_ = demo.generarEmpresa(base());
        if (!lista_)
            ADD_FAILURE() << demo.error().toStdString();
    }

    bool lista() const { return lista_; }
    QString base() const { return ruta(QStringLiteral("EMPRESA.db")); }
    QString ruta(const QString& nombre) const { return dir_.filePath(nombre); }

private:
    QTemporaryDir dir_;
    bool lista_ = false;
};

} // namespace rp::prueba
