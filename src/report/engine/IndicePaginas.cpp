#include "report/engine/IndicePaginas.h"

#include "report/engine/ErrorMotor.h"
#include "report/engine/LectorFilas.h"
#include "report/engine/ReportePreparado.h"
#include "report/engine/ValoresFormula.h"

namespace rp::motor {

namespace {

bool claveUsable(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::QString:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return !v.isNull();
    default:
        return false;
    }
}

} // namespace

IndicePaginas::IndicePaginas(const ReportePreparado& reporte) : rep_(reporte), contador_(reporte) {
    contador_.limitar(1, 0); // none built
}

IndicePaginas::~IndicePaginas() = default;

bool IndicePaginas::abrir(const FuenteDatos& fuente) {
    const QString sql = rep_.sentenciaClaves();
    if (sql.isEmpty()) {
        valido_ = false;
        return false;
    }
    contador_.alAbrirPagina([this](const Paginador::Apertura& a) {
        Inicio i;
        i.fila = filas_;
        i.clave = actualClave_;
        i.antes = antesClave_;
        i.continuaGrupo = a.continuaGrupo;
        // The first page starts with the statement itself.
        if (a.numero > 1 &&
            (!a.reanudable || !claveUsable(i.clave) || (i.continuaGrupo && i.antes == 0)))
            valido_ = false;
        inicios_ << i;
    });
    cursor_ = fuente.consultar(sql);
    if (!cursor_)
        completar();
    return true;
}

bool IndicePaginas::avanzar(qint64 filas) {
    if (terminado_ || !valido_)
        return false;
    const bool agrupa = rep_.plantilla().grupo != nullptr;
    for (qint64 n = 0; n < filas; ++n) {
        if (!cursor_ || !cursor_->fetch()) {
            cursor_.reset();
            actualClave_ = QVariant();
            antesClave_ = 0;
            contador_.terminar();
            terminado_ = true;
            return false;
        }
        QVariant k = cursor_->value(0);
        const bool misma = filas_ > 0 && k == clave_;
        // The pages take keys as equal the database sorts apart (letter
        // case, trailing blanks): a page could not be found again from its key.
        if (filas_ > 0 && !misma && ValoresFormula::ordenar(k, clave_) == 0) {
            valido_ = false;
            cursor_.reset();
            return false;
        }
        antesClave_ = misma ? corrida_ : 0;
        actualClave_ = k;
        contador_.contar(agrupa ? k : QVariant());
        corrida_ = antesClave_ + 1;
        ++filas_;
        clave_ = std::move(k);
        if (!valido_) {
            cursor_.reset();
            return false;
        }
    }
    return true;
}

void IndicePaginas::completar() {
    while (avanzar(1 << 16)) {
    }
}

int IndicePaginas::paginasCompletas() const {
    const int n = paginas();
    return terminado_ ? n : std::max(0, n - 1);
}

PaginaReporte IndicePaginas::componer(const FuenteDatos& fuente, int numero) const {
    if (numero < 1 || numero > paginasCompletas())
        throw ErrorMotor(QStringLiteral("página fuera del informe: %1").arg(numero));
    const Inicio& i = inicio(numero);
    Paginador p(rep_);
    p.limitar(numero, numero);
    std::unique_ptr<LectorFilas> filas;
    if (numero == 1) {
        filas = rep_.abrir(fuente, true);
    } else {
        const QString sql = rep_.sentenciaPaginasDesde(i.clave);
        if (sql.isEmpty())
            throw ErrorMotor(QStringLiteral("la página %1 no se puede componer sola").arg(numero));
        filas = std::make_unique<LectorFilas>(rep_, fuente.consultar(sql), true);
        filas->numerarDesde(i.fila - i.antes);
        p.reanudar(numero - 1);
        qint64 saltar = i.antes;
        const auto leer = [&] {
            if (!filas->siguiente())
                throw ErrorMotor(QStringLiteral("los datos del informe cambiaron"));
        };
        if (i.continuaGrupo) {
            leer();
            p.reanudarGrupo(*filas, i.antes);
            --saltar;
        }
        while (saltar-- > 0)
            leer();
    }
    // The page ends when the next one opens: a group's footer goes on it
    // only once the next row shows the group is over.
    while (p.numeroActual() <= numero) {
        if (!filas->siguiente()) {
            p.terminar();
            break;
        }
        p.agregar(*filas);
    }
    if (p.paginas().isEmpty())
        throw ErrorMotor(QStringLiteral("los datos del informe cambiaron"));
    return p.paginas().first();
}

} // namespace rp::motor
