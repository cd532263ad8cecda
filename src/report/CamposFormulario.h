#pragma once

#include <QList>
#include <QString>

namespace rp::report {

// What the report form holds, control by control: the filter fields
// (`txtfields`) with their keys, lookup tags and lengths, the frames that
// group them on the three tabs, the column check boxes (`ChkFiltro`), the
// price options (`optPrecios`) and the sort options (`OptOrden`), with the
// captions they start with.
class CamposFormulario {
public:
    struct Campo {
        int indice;
        QString clave;       // field key, found through IndiceControl
        QString tagConsulta; // lookup tag: which lookup a right click opens
        int longitudMaxima;  // characters
        int pestana;         // tab 0..2
        QString rotulo;      // the label beside the field
    };

    // A frame of filter fields; `campos` in the order they are shown and
    // visited with Enter ("Desde" before "Hasta"). An empty title is a frame
    // without caption whose fields carry their own labels.
    struct Marco {
        int pestana;
        QString titulo;
        QList<int> campos;
    };

    static constexpr int CantidadPestanas = 3;
    static constexpr int CantidadChkFiltro = 10;
    static constexpr int CantidadOptPrecios = 18;
    static constexpr int CantidadOptOrden = 9;

    static QString tituloFormulario(); // "Reporte Historico de Cambio de Precios"
    static QString tituloPestana(int pestana);

    // Every filter field, in index order (index 36 does not exist).
    static const QList<Campo>& campos();
    // The field with that index; nullptr when there is none.
    static const Campo* campo(int indice);
    // Frames of filter fields, tab by tab, in the order they are shown.
    static const QList<Marco>& marcos();
    // The fields of a tab in the order Enter visits them.
    static QList<int> camposDePestana(int pestana);

    // Frame captions of the other controls.
    static QString tituloMarcoColumnas(); // "Mostrar las siguientes columnas" (tab 0)
    static QString tituloVariacion();     // "Mostrar variación" (tab 0)
    static QString tituloMarcoPrecios();  // "Mostrar el siguiente precio" (tabs 1, 2)
    static QString tituloMarcoOrden();    // "Orden" (tab 0)

    // Starting caption of `ChkFiltro`(i): "Costo", "Clase 1".."Clase 8",
    // "Impuestos"; its tag is its own index as text.
    static QString tituloChkFiltro(int indice);
    static QString tagChkFiltro(int indice);

    // Starting caption of `optPrecios`(i) and its tab: 0-8 on tab 1 ("Costo",
    // "Precio1".."Precio8"), 9-17 on tab 2 (17 "Costo", 16 "Precio1" down to
    // 9 "Precio8").
    static QString tituloOptPrecios(int indice);
    static int pestanaOptPrecios(int indice);
    // The price options of a tab, in the order they are shown.
    static QList<int> optPreciosDePestana(int pestana);
    // The option selected at start in the group of a tab (0 on tab 1, 17 on
    // tab 2).
    static int optPreciosInicial(int pestana);

    // Caption of `OptOrden`(i) and its tag, the report field to sort by.
    static QString tituloOptOrden(int indice);
    static QString tagOptOrden(int indice);
};

} // namespace rp::report
