#include "report/engine/widgets/BarraBusqueda.h"

#include "db/provider/ProviderError.h"
#include "report/engine/ErrorMotor.h"
#include "report/engine/LectorFilas.h"
#include "report/engine/Paginador.h"
#include "report/engine/ReportePreparado.h"

#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace rp::motor {

namespace {

// Enter and Shift+Enter of the text field.
class CampoBusqueda : public QLineEdit {
public:
    CampoBusqueda(BarraBusqueda* barra) : QLineEdit(barra), barra_(barra) {}

protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
            if (e->modifiers() & Qt::ShiftModifier)
                barra_->anterior();
            else if (barra_->buscador().texto() != text() || barra_->buscador().cancelada())
                barra_->buscar(text());
            else
                barra_->siguiente();
            return;
        }
        QLineEdit::keyPressEvent(e);
    }

private:
    BarraBusqueda* barra_;
};

} // namespace

BarraBusqueda::BarraBusqueda(const ReportePreparado& reporte, FuenteDatos fuente, QWidget* parent)
    : QWidget(parent), rep_(reporte), fuente_(std::move(fuente)) {
    setObjectName(QStringLiteral("barraBusqueda"));
    auto* capa = new QHBoxLayout(this);
    capa->setContentsMargins(6, 2, 6, 2);
    capa->addWidget(new QLabel(QStringLiteral("Buscar:"), this));
    texto_ = new CampoBusqueda(this);
    texto_->setObjectName(QStringLiteral("textoBusqueda"));
    texto_->setClearButtonEnabled(true);
    capa->addWidget(texto_, 1);
    const auto boton = [&](const char* nombre, const QString& texto, const QString& ayuda,
                           auto funcion) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(nombre));
        b->setText(texto);
        b->setToolTip(ayuda);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QToolButton::clicked, this, funcion);
        capa->addWidget(b);
    };
    boton("buscarAnterior", QStringLiteral("▲"), QStringLiteral("Anterior (Mayús+F3)"),
          [this] { anterior(); });
    boton("buscarSiguiente", QStringLiteral("▼"), QStringLiteral("Siguiente (F3)"),
          [this] { siguiente(); });
    etiqueta_ = new QLabel(this);
    etiqueta_->setObjectName(QStringLiteral("etiquetaBusqueda"));
    etiqueta_->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00000 de 00000+")));
    capa->addWidget(etiqueta_);
    boton("cerrarBusqueda", QStringLiteral("✕"), QStringLiteral("Cerrar (Esc)"), [this] {
        buscador_.cancelar();
        detener();
        hide();
        Q_EMIT cambio();
    });

    temporizador_.setInterval(0);
    connect(&temporizador_, &QTimer::timeout, this, &BarraBusqueda::avanzar);
    hide();
}

BarraBusqueda::~BarraBusqueda() = default;

void BarraBusqueda::detener() {
    temporizador_.stop();
    filas_.reset();
    paginador_.reset();
}

void BarraBusqueda::abrir() {
    show();
    texto_->setFocus(Qt::ShortcutFocusReason);
    texto_->selectAll();
}

void BarraBusqueda::buscar(const QString& texto) {
    if (texto_->text() != texto)
        texto_->setText(texto);
    pendiente_ = false;
    detener();
    buscador_.comenzar(texto);
    actualizarEtiqueta();
    Q_EMIT cambio();
    if (buscador_.activa()) {
        temporizador_.start();
        avanzar();
    }
}

void BarraBusqueda::avanzar() {
    const int antes = static_cast<int>(buscador_.coincidencias().size());
    const bool habia = buscador_.actual() >= 0;
    // A slice of the search's own layout: the pages it completes are looked
    // through and let go.
    QElapsedTimer reloj;
    reloj.start();
    int vistas = 0;
    try {
        if (!filas_) {
            filas_ = rep_.abrir(fuente_, true);
            paginador_ = std::make_unique<Paginador>(rep_);
        }
        while (buscador_.activa() &&
               (lote_ > 0 ? vistas < lote_ : (vistas == 0 || reloj.elapsed() < 20))) {
            if (!filas_->siguiente()) {
                paginador_->terminar();
                for (const PaginaReporte& p : paginador_->tomarCompletas())
                    buscador_.revisar(p);
                buscador_.terminar();
                break;
            }
            paginador_->agregar(*filas_);
            for (const PaginaReporte& p : paginador_->tomarCompletas()) {
                buscador_.revisar(p);
                ++vistas;
            }
        }
    } catch (const ErrorMotor&) {
        buscador_.cancelar(); // the window tells the error when it reads the rows
    } catch (const rp::db::DbError&) {
        buscador_.cancelar();
    }
    const bool sigue = buscador_.activa();
    if (!sigue)
        detener();
    const bool nuevas = buscador_.coincidencias().size() != antes;
    if (!habia && buscador_.actual() >= 0) {
        mostrarActual(); // the first hit
    } else if (pendiente_ && nuevas) {
        pendiente_ = false;
        buscador_.siguiente();
        mostrarActual();
    } else if (pendiente_ && buscador_.completa()) {
        pendiente_ = false;
        if (buscador_.siguiente())
            mostrarActual();
    }
    actualizarEtiqueta();
    if (nuevas || !sigue)
        Q_EMIT cambio();
}

void BarraBusqueda::siguiente() {
    if (buscador_.texto() != texto_->text() && !texto_->text().isEmpty()) {
        buscar(texto_->text());
        return;
    }
    if (buscador_.siguiente())
        mostrarActual();
    else if (buscador_.activa())
        pendiente_ = true; // goes on with the next hit found
    actualizarEtiqueta();
}

void BarraBusqueda::anterior() {
    if (buscador_.anterior())
        mostrarActual();
    actualizarEtiqueta();
}

bool BarraBusqueda::escape() {
    if (buscador_.activa()) {
        buscador_.cancelar();
        detener();
        pendiente_ = false;
        actualizarEtiqueta();
        Q_EMIT cambio();
        return true;
    }
    if (isVisible()) {
        hide();
        Q_EMIT cambio();
        return true;
    }
    return false;
}

QString BarraBusqueda::etiqueta() const {
    if (buscador_.texto().trimmed().isEmpty())
        return QString();
    if (buscador_.cancelada())
        return buscador_.etiqueta() + QStringLiteral(" (cancelada)");
    return buscador_.etiqueta();
}

QList<int> BarraBusqueda::marcas(int pagina, int* actual) const {
    if (actual)
        *actual = -1;
    if (isHidden())
        return {};
    const int i = buscador_.actual();
    if (actual && i >= 0 && buscador_.coincidencias().at(i).pagina == pagina)
        *actual = buscador_.coincidencias().at(i).elemento;
    return buscador_.elementosDe(pagina);
}

void BarraBusqueda::mostrarActual() {
    const int i = buscador_.actual();
    if (i < 0)
        return;
    const auto& c = buscador_.coincidencias().at(i);
    Q_EMIT mostrar(c.pagina, c.elemento);
}

void BarraBusqueda::actualizarEtiqueta() {
    etiqueta_->setText(etiqueta());
}

} // namespace rp::motor
