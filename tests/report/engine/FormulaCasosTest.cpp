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

QList<Caso> leerCasos() {
    QList<Caso> casos;
    const QDir dir(QStringLiteral(RP_ENGINE_TEST_DIR "/formulas"));
    for (const QString& nombre :
         dir.entryList({QStringLiteral("*.test")}, QDir::Files, QDir::Name)) {
        QFile f(dir.filePath(nombre));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QStringList lineas = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
        for (int i = 0; i < lineas.size(); ++i) {
            const QString l = lineas.at(i);
            if (l.trimmed().isEmpty() || l.startsWith(QLatin1Char('#')))
                continue;
            if (l.startsWith(QLatin1String("=="))) {
                Caso c;
                c.archivo = nombre;
                c.linea = i + 1;
                c.nombre = l.mid(2).trimmed();
                casos << c;
                continue;
            }
            if (casos.isEmpty())
                continue;
            Caso& c = casos.last();
            const qsizetype dp = l.indexOf(QLatin1Char(':'));
            const QString clave = l.left(dp);
            const QString valor =
                l.mid(dp + 1).startsWith(QLatin1Char(' ')) ? l.mid(dp + 2) : l.mid(dp + 1);
            if (clave == QLatin1String("formula")) {
                c.formula = valor;
                c.formula.replace(QLatin1String("\\n"), QLatin1String("\n"));
            } else if (clave == QLatin1String("sql")) {
                c.sql = valor;
            } else if (clave == QLatin1String("rows")) {
                c.filas = valor.simplified();
                c.conFilas = true;
            } else if (clave == QLatin1String("error")) {
                c.error = valor;
            }
        }
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
    EXPECT_GE(leerCasos().size(), 40);
}

} // namespace
