#include "suite/Formularios.h"

#include <gtest/gtest.h>

#include <QMap>

using rp::suite::Formularios;

namespace {

class FormularioDePrueba : public Formularios::Formulario {
public:
    QString nombreFormulario() const override { return nombre; }
    QList<int> indicesCampos() const override { return {0, 1, 3}; }
    void colorearCampo(int indice, quint32 fondo, quint32 letra) override {
        colores[indice] = {fondo, letra};
    }
    void escribirCampo(int indice, const QString& texto) override { textos[indice] = texto; }

    QString nombre = "frmPrueba";
    QMap<int, QPair<quint32, quint32>> colores;
    QMap<int, QString> textos;
};

} // namespace

TEST(FormulariosTest, PrepararFormularioPaintsEveryFieldWhiteOnBlack) {
    FormularioDePrueba f;
    Formularios::PrepararFormulario(f, false);
    EXPECT_EQ(f.colores.keys(), QList<int>({0, 1, 3}));
    EXPECT_EQ(f.colores[3], qMakePair(quint32(0xFFFFFF), quint32(0)));
    EXPECT_TRUE(f.textos.isEmpty());
    Formularios::PrepararFormulario(f, true);
    EXPECT_EQ(f.textos.keys(), QList<int>({0, 1, 3}));
}

TEST(FormulariosTest, LoadAndUnloadNoticesKeepTheOpenForms) {
    FormularioDePrueba a;
    a.nombre = "frmA_notices";
    FormularioDePrueba b;
    b.nombre = "frmB_notices";
    Formularios::FormularioDescarga(a, QString()); // never loaded: nothing
    Formularios::FormularioCarga(a, QString());
    Formularios::FormularioCarga(b, QString());
    QStringList abiertos = Formularios::FormulariosAbiertos();
    EXPECT_LT(abiertos.indexOf("frmA_notices"), abiertos.indexOf("frmB_notices"));
    Formularios::FormularioDescarga(a, QString());
    abiertos = Formularios::FormulariosAbiertos();
    EXPECT_FALSE(abiertos.contains("frmA_notices"));
    EXPECT_TRUE(abiertos.contains("frmB_notices"));
    Formularios::FormularioDescarga(b, QString());
    EXPECT_FALSE(Formularios::FormulariosAbiertos().contains("frmB_notices"));
}
