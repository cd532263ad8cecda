#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace rp::demo {

// A product line of the demo catalogue: a second-level family whose articles
// are built from item names (third-level families), sizes and variants.
struct LineaDemo {
    QString nombre;         // family caption, e.g. "Tornillos"
    QStringList articulos;  // item names, e.g. "Tornillo hexagonal"
    QStringList medidas;    // sizes, e.g. "1/4 x 2\""
    QStringList variantes;  // finishes / flavours; may be empty
    QString unidad;         // unit of measure
    double costoMinimo = 1; // range of the first cost
    double costoMaximo = 10;
    double tasaIva = 21;
};

// A section of the catalogue: one group (rubro) and one first-level family.
struct SeccionDemo {
    QString nombre;
    QStringList marcas;
    QList<LineaDemo> lineas;
};

struct UsuarioDemo {
    QString nombre;
    QString nombreCompleto;
    int administrador = 0;
    QString unidadNegocio;
    int verProforma = 0;
    int pesoCambios = 0; // share of the price changes made by this user
};

// The fixed word lists and names of the demo data.
class CatalogoDemo {
public:
    static const QList<SeccionDemo>& secciones();
    static const QList<UsuarioDemo>& usuarios();
    // Price lists "1".."8" and the captions of the eight price classes.
    static const QStringList& listasDePrecios();
    static const QStringList& clasesDePrecio();
    // Margin of each price class over the cost and factor of each list.
    static double margenClase(int clase); // clase 1..8
    static double factorLista(int lista); // lista 1..8
    static const QStringList& apellidos();
    static const QStringList& localidades();
    static const QStringList& calles();
    static QString nombreEmpresa();
};

} // namespace rp::demo
