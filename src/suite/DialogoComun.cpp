#include "suite/DialogoComun.h"

#include "suite/CodErr.h"

namespace rp::suite {

namespace {

DialogoComun::MostradorImpresora& mostrador() {
    static DialogoComun::MostradorImpresora m;
    return m;
}

} // namespace

void DialogoComun::establecerMostradorImpresora(MostradorImpresora m) {
    mostrador() = std::move(m);
}

void DialogoComun::cancelado() {
    UsuarioCancelo = true;
    if (ErrorAlCancelar)
        throw CodErr{ErrorCancelado, QStringLiteral("Se ha cancelado el cuadro de diálogo"),
                     QStringLiteral("DialogoComun")};
}

void DialogoComun::MostrarImpresora() {
    UsuarioCancelo = false;
    nombre_ = NombreDialogoImpresora();
    const int copias = Copias;
    const int desde = DesdePagina;
    const int hasta = HastaPagina;
    const QString impresora = Impresora;
    const QString archivo = ArchivoImpresion;
    const bool aceptado = mostrador() ? mostrador()(*this) : ui::operador().dialogo(*this);
    if (!aceptado) {
        // A cancelled dialog changes nothing.
        Copias = copias;
        DesdePagina = desde;
        HastaPagina = hasta;
        Impresora = impresora;
        ArchivoImpresion = archivo;
        cancelado();
        return;
    }
    if (Copias < 1)
        Copias = 1;
    if (DesdePagina < 0)
        DesdePagina = 0;
    if (HastaPagina < 0)
        HastaPagina = 0;
}

void DialogoComun::MostrarAbrir() {
    UsuarioCancelo = false;
    const std::optional<QString> ruta =
        ui::operador().abrirArchivo(TituloDialogo, FiltroArchivos, NombreArchivo);
    if (!ruta) {
        cancelado();
        return;
    }
    NombreArchivo = *ruta;
}

} // namespace rp::suite
