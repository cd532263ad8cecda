#pragma once

#include "ui/Operador.h"

#include <QString>
#include <functional>

namespace rp::suite {

// The suite's common dialog object, one per owner (the report form keeps its
// own): the print dialog (printer, copies, page range) and the open-file
// dialog. It keeps the last choices, so a print without dialog uses the
// copies and page range of the last dialog shown (or the initial values).
//
// The print dialog is shown by the installed function (the report engine
// installs one that shows its own print dialog through the operator); without
// one, through the operator as the modal dialog named NombreDialogoImpresora,
// which reads and fills this object (Impresora, Copias, DesdePagina,
// HastaPagina; 0 pages = all) and accepts or cancels.
class DialogoComun : public ui::DialogoModal {
public:
    static QString NombreDialogoImpresora() { return QStringLiteral("DialogoComun.Impresora"); }
    // Raised (as a CodErr) by a cancelled dialog when ErrorAlCancelar is set.
    static constexpr qint32 ErrorCancelado = 32755;

    bool ErrorAlCancelar = false;
    QString TituloDialogo;
    QString FiltroArchivos;

    bool UsuarioCancelo = false;
    int Copias = 1;
    int DesdePagina = 0; // 0 = from the first page
    int HastaPagina = 0; // 0 = to the last page
    QString Impresora;   // printer name; empty = the system's default
    // Print into this PDF file instead of a printer (the dialog's "Archivo
    // PDF" choice); empty = a printer.
    QString ArchivoImpresion;
    QString NombreArchivo;

    // Shows the print dialog. Cancelled: UsuarioCancelo is true, and with
    // ErrorAlCancelar a CodErr numbered 32755 is thrown.
    void MostrarImpresora();
    // Shows the open-file dialog (TituloDialogo, FiltroArchivos, starting at
    // NombreArchivo); the picked path goes to NombreArchivo.
    void MostrarAbrir();

    QString dialogName() const override { return nombre_; }

    // Shows the print dialog over the object; true when accepted.
    using MostradorImpresora = std::function<bool(DialogoComun&)>;
    static void establecerMostradorImpresora(MostradorImpresora mostrador);

private:
    void cancelado();
    QString nombre_ = NombreDialogoImpresora();
};

} // namespace rp::suite
