#pragma once

#include "ui/Operador.h"

#include <QString>
#include <QStringList>

namespace rp::motor {

// The print settings the operator chooses before printing: printer, copies
// and page range. Shown through rp::ui::Operador::dialogo (the real operator
// shows VentanaDialogoImpresion; tests set the fields in their handler).
class DialogoImpresion : public rp::ui::DialogoModal {
public:
    static QString nombre() { return QStringLiteral("DialogoImpresion"); }
    QString dialogName() const override { return nombre(); }

    QStringList impresoras; // printers offered
    QString impresora;      // chosen printer (empty = the default one)
    // Print into this PDF file instead of a printer (the printer entry
    // `entradaPdf()`); empty = a printer.
    QString archivoPdf;
    static QString entradaPdf() { return QStringLiteral("Archivo PDF"); }
    int copias = 1;
    int desdePagina = 0;  // 0 = from the first page
    int hastaPagina = 0;  // 0 = to the last page
    int totalPaginas = 0; // pages of the report (0 = not known yet)

    // Copies at least 1; a page range inside 1..totalPaginas (when known),
    // from <= to.
    void normalizar() {
        if (copias < 1)
            copias = 1;
        if (desdePagina < 0)
            desdePagina = 0;
        if (hastaPagina < 0)
            hastaPagina = 0;
        if (totalPaginas > 0) {
            if (desdePagina > totalPaginas)
                desdePagina = totalPaginas;
            if (hastaPagina > totalPaginas)
                hastaPagina = totalPaginas;
        }
        if (desdePagina > 0 && hastaPagina > 0 && hastaPagina < desdePagina)
            std::swap(desdePagina, hastaPagina);
    }
};

} // namespace rp::motor
