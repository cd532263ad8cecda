// Golden cases of the formula language, one file per feature under
// formulas/. Every case is parsed; its SQL form is compared with the expected
// text and run on a real SQLite database, and the in-memory evaluator is run
// on the same rows: both must select exactly the expected rows.
//
// Case format (blank lines and lines starting with "#" are ignored):
//   == name
//   formula: <formula text, "\n" for a line break>
//   sql: <expected SQL condition, or "-" when it has no SQL form>
//   rows: <IDHIS of the selected rows, blank separated; empty for none>
// or, for a formula that must be rejected:
//   error: <line>:<column>: <message>

#include "BaseDePrueba.h"
#include "CasosTexto.h"

#include "report/engine/ContextoFormula.h"
#include "report/engine/EmisorSql.h"
#include "report/engine/ErrorMotor.h"
#include "report/engine/EvaluadorFormula.h"
#include "report/engine/ParserFormula.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTextStream>
#include <gtest/gtest.h>

using namespace rp::motor;

namespace {

struct Caso {
    QString archivo;
    int linea = 0;
    QString nombre;
    QString formula;
    QString sql;
    QString filas;
    QString error;
    bool conFilas = false;
};

void PrintTo(const Caso& c, std::ostream* os) {
    *os << (c.archivo + ":" + QString::number(c.linea)).toStdString();
}

const QString kCarpeta = QStringLiteral(RP_ENGINE_TEST_DIR "/formulas");
const QStringList kClaves = {QStringLiteral("formula"), QStringLiteral("sql"),
                             QStringLiteral("rows"), QStringLiteral("error")};

rp::prueba::LecturaCasos leerArchivos() {
    return rp::prueba::leerCasos(kCarpeta, kClaves, {QStringLiteral("formula")});
}

QList<Caso> leerCasos() {
    QList<Caso> casos;
    for (const rp::prueba::CasoTexto& t : leerArchivos().casos) {
        Caso c;
        c.archivo = t.archivo;
        c.linea = t.linea;
        c.nombre = t.nombre;
        c.formula = t.valor(QStringLiteral("formula"));
        c.formula.replace(QLatin1String("\\n"), QLatin1String("\n"));
        c.sql = t.valor(QStringLiteral("sql"));
        c.filas = t.valor(QStringLiteral("rows")).simplified();
        c.conFilas = t.tiene(QStringLiteral("rows"));
        c.error = t.valor(QStringLiteral("error"));
        casos << c;
    }
    return casos;
}

// The fields of one joined row, by "TABLA.CAMPO".
class ContextoFila : public ContextoFormula {
public:
    QHash<QString, QVariant> valores;
    QVariant campo(const NodoCampo& c) const override {
        const auto it = valores.constFind(c.clave());
        if (it == valores.constEnd())
            throw ErrorMotor(QStringLiteral("campo desconocido: %1").arg(c.clave()));
        return it.value();
    }
    Formula formula(const QString&) const override { return nullptr; }
    QVariant especial(const QString&) const override { return QVariant(); }
};

QString columnaSql(const NodoCampo& c) {
    return c.tabla + QLatin1Char('.') + c.campo;
}

class FormulaCasos : public ::testing::TestWithParam<Caso> {
protected:
    static void SetUpTestSuite() {
        base_ = new prueba::BaseDePrueba();
        // Every field of the join, in memory, for the evaluator.
        const char* campos[] = {"V_MV_PRECIOSHIS.IDHIS",      "V_MV_PRECIOSHIS.IDLISTA",
                                "V_MV_PRECIOSHIS.IDARTICULO", "V_MV_PRECIOSHIS.FECHAHORA",
                                "V_MV_PRECIOSHIS.USUARIO",    "V_MV_PRECIOSHIS.COSTO",
                                "V_MV_PRECIOSHIS.PRECIO1",    "V_MV_PRECIOSHIS.PRECIO1ANT",
                                "V_MA_ARTICULOS.IDARTICULO",  "V_MA_ARTICULOS.DESCRIPCION",
                                "V_MA_ARTICULOS.IDRUBRO",     "V_MA_ARTICULOS.CUENTAPROVEEDOR",
                                "V_MA_ARTICULOS.IDFAMILIA",   "V_MA_ARTICULOS.FHULTIMOCOSTO",
                                "V_MA_PRECIOSCAB.IDLISTA",    "V_MA_PRECIOSCAB.NOMBRE"};
        QStringList lista;
        for (const char* c : campos)
            lista << QString::fromLatin1(c);
        auto cursor = base_->conexion.execute(QStringLiteral("SELECT ") + lista.join(", ") +
                                              " FROM " + prueba::BaseDePrueba::desde +
                                              " ORDER BY V_MV_PRECIOSHIS.IDHIS");
        filas_ = new QList<ContextoFila>();
        while (cursor->fetch()) {
            ContextoFila f;
            for (int i = 0; i < lista.size(); ++i)
                f.valores.insert(lista.at(i).toUpper(), cursor->value(i));
            filas_->append(f);
        }
    }
    static void TearDownTestSuite() {
        delete filas_;
        delete base_;
    }
    static prueba::BaseDePrueba* base_;
    static QList<ContextoFila>* filas_;
};

prueba::BaseDePrueba* FormulaCasos::base_ = nullptr;
QList<ContextoFila>* FormulaCasos::filas_ = nullptr;

TEST_P(FormulaCasos, SqlYEvaluadorEligenLasMismasFilas) {
    const Caso& c = GetParam();
    SCOPED_TRACE((c.archivo + ":" + QString::number(c.linea) + " " + c.nombre).toStdString());
    Formula f;
    try {
        f = ParserFormula::analizar(c.formula);
    } catch (const ErrorMotor& e) {
        EXPECT_EQ(c.error.toStdString(), e.texto().toStdString());
        return;
    }
    ASSERT_TRUE(c.error.isEmpty()) << "expected the error " << c.error.toStdString();
    ASSERT_TRUE(f);
    ASSERT_TRUE(c.conFilas) << "case without rows:";

    // In memory.
    QStringList enMemoria;
    for (const ContextoFila& fila : *filas_) {
        if (EvaluadorFormula(fila).cumple(f))
            enMemoria << fila.valores.value("V_MV_PRECIOSHIS.IDHIS").toString();
    }
    EXPECT_EQ(c.filas.toStdString(), enMemoria.join(' ').toStdString()) << "evaluator";

    // As SQL, on the database.
    const EmisorSql emisor(columnaSql);
    QString sql;
    try {
        sql = emisor.emitir(f);
    } catch (const ErrorNoTraducible&) {
        EXPECT_EQ("-", c.sql.toStdString());
        return;
    }
    EXPECT_EQ(c.sql.toStdString(), sql.toStdString());
    QStringList enBase;
    try {
        enBase = base_->columna(QStringLiteral("SELECT V_MV_PRECIOSHIS.IDHIS FROM ") +
                                prueba::BaseDePrueba::desde + " WHERE " + sql +
                                " ORDER BY V_MV_PRECIOSHIS.IDHIS");
    } catch (const rp::db::DbError& e) {
        ADD_FAILURE() << "the SQL does not run: " << e.description().toStdString();
    }
    EXPECT_EQ(c.filas.toStdString(), enBase.join(' ').toStdString()) << "database";
}

std::string nombreCaso(const ::testing::TestParamInfo<Caso>& info) {
    QString n = info.param.archivo.section('.', 0, 0) + "_" + QString::number(info.param.linea);
    return n.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Formulas, FormulaCasos, ::testing::ValuesIn(leerCasos().toVector()),
                         nombreCaso);

TEST(FormulaCasosArchivos, HayCasos) {
    // A malformed case is named by file and line, and left out.
    for (const QString& e : leerArchivos().errores)
        ADD_FAILURE() << e.toStdString();
    EXPECT_GE(leerCasos().size(), 40);
}

} // namespace
