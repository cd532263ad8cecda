#include "report/engine/IndicePaginas.h"

#include "report/engine/ErrorMotor.h"
#include "report/engine/LectorFilas.h"
#include "report/engine/ReportePreparado.h"
#include "report/engine/ValoresFormula.h"

namespace rp::motor {

namespace {

// A key the statement of a page can start at (rows without a key: see
// ReportePreparado::sentenciaPaginasDesde).
bool claveUsable(const QVariant& v) {
    if (ValoresFormula::esNulo(v))
        return true;
    switch (v.typeId()) {
    case QMetaType::QString:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return true;
    default:
        return false;
    }
}

ErrorMotor datosCambiaron() {
    return ErrorMotor(QStringLiteral("los datos del informe cambiaron"));
}

} // namespace

IndicePaginas::IndicePaginas(const ReportePreparado& reporte) : rep_(reporte), contador_(reporte) {
    contador_.limitar(1, 0); // none built
}

IndicePaginas::~IndicePaginas() = default;

void IndicePaginas::abrir(const FuenteDatos& fuente) {
    const QString sql = rep_.sentenciaClaves();
    contador_.alAbrirPagina([this](const Paginador::Apertura& a) {
        Inicio i;
        i.fila = leidas_;
        i.clave = actualClave_;
        i.antes = antesClave_;
        i.continuaGrupo = a.continuaGrupo;
        // The first page starts with the statement itself.
        if (a.numero > 1 &&
            (!a.reanudable || !claveUsable(i.clave) || (i.continuaGrupo && i.antes == 0)))
            valido_ = false;
        inicios_ << i;
    });
    if (sql.isEmpty()) {
        valido_ = false;
        lector_ = rep_.abrir(fuente, true);
        return;
    }
    cursor_ = fuente.consultar(sql);
}

bool IndicePaginas::avanzar(qint64 filas) {
    if (terminado_)
        return false;
    const bool agrupa = rep_.plantilla().grupo != nullptr;
    for (qint64 n = 0; n < filas; ++n) {
        if (lector_ && lector_->siguiente()) {
            // No index: the full rows, counted.
            ++leidas_;
            contador_.agregar(*lector_);
            continue;
        }
        if (lector_ || !cursor_ || !cursor_->fetch()) {
            cursor_.reset();
            lector_.reset();
            actualClave_ = QVariant();
            antesClave_ = 0;
            contador_.terminar();
            terminado_ = true;
            return false;
        }
        QVariant k = cursor_->value(0);
        if (leidas_ > 0 && ValoresFormula::esNulo(k) && !ValoresFormula::esNulo(clave_))
            nulosDespues_ = true;
        const bool misma = leidas_ > 0 && k == clave_;
        // The pages take keys as equal the database sorts apart (letter
        // case, trailing blanks): a page could not be found again from its
        // key. The count holds.
        if (leidas_ > 0 && !misma && ValoresFormula::ordenar(k, clave_) == 0)
            valido_ = false;
        antesClave_ = misma ? corrida_ : 0;
        actualClave_ = k;
        contador_.contar(agrupa ? k : QVariant());
        corrida_ = antesClave_ + 1;
        ++leidas_;
        clave_ = std::move(k);
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
    // The first page starts with the statement itself, before any count.
    if (numero < 1 || (numero > 1 && numero > paginasCompletas()))
        throw ErrorMotor(QStringLiteral("página fuera del informe: %1").arg(numero));
    PaginaReporte r;
    recorrer(fuente, numero, numero, [&r](const PaginaReporte& p) {
        r = p;
        return true;
    });
    if (r.numero != numero)
        throw datosCambiaron();
    return r;
}

int IndicePaginas::recorrer(const FuenteDatos& fuente, int desde, int hasta,
                            const std::function<bool(const PaginaReporte&)>& cada) const {
    desde = std::max(1, desde);
    if (hasta < desde)
        return 0;
    Paginador p(rep_);
    p.limitar(desde, hasta);
    std::unique_ptr<LectorFilas> filas;
    if (desde == 1 || !valido_ || desde > paginasCompletas()) {
        filas = rep_.abrir(fuente, true);
    } else {
        const Inicio& i = inicio(desde);
        const QString sql = rep_.sentenciaPaginasDesde(i.clave, nulosDespues_);
        if (sql.isEmpty())
            throw ErrorMotor(QStringLiteral("la página %1 no se puede componer sola").arg(desde));
        filas = std::make_unique<LectorFilas>(rep_, fuente.consultar(sql), true);
        filas->numerarDesde(i.fila - i.antes);
        p.reanudar(desde - 1);
        qint64 saltar = i.antes;
        const auto leer = [&] {
            if (!filas->siguiente())
                throw datosCambiaron();
        };
        if (i.continuaGrupo) {
            leer();
            p.reanudarGrupo(*filas, i.antes);
            --saltar;
        }
        while (saltar-- > 0)
            leer();
    }
    // A page is over when the next one opens: a group's footer goes on it
    // only once the next row shows the group is over.
    int dadas = 0;
    while (p.numeroActual() <= hasta) {
        if (!filas->siguiente()) {
            p.terminar();
            break;
        }
        p.agregar(*filas);
        for (const PaginaReporte& pagina : p.tomarCompletas()) {
            ++dadas;
            if (!cada(pagina))
                return dadas;
        }
    }
    for (const PaginaReporte& pagina : p.tomarCompletas()) {
        ++dadas;
        if (!cada(pagina))
            break;
    }
    return dadas;
}

int IndicePaginas::contarPaginas(const ReportePreparado& reporte, const FuenteDatos& fuente) {
    IndicePaginas indice(reporte);
    indice.abrir(fuente);
    indice.completar();
    return indice.paginas();
}

} // namespace rp::motor
