#include "app/demo/CatalogoDemo.h"

namespace rp::demo {

namespace {

QList<SeccionDemo> armarSecciones() {
    QList<SeccionDemo> s;
    s.append(
        {"Ferretería",
         {"Bremen", "Tacsa", "Fixer", "Ombú Herramientas"},
         {{"Tornillos",
           {"Tornillo hexagonal", "Tornillo autoperforante", "Tornillo para madera",
            "Tornillo Parker"},
           {"1/4 x 1\"", "1/4 x 2\"", "5/16 x 1 1/2\"", "3/8 x 2\"", "3/8 x 3\"", "1/2 x 4\""},
           {"zincado", "galvanizado", "bronceado"},
           "UN",
           8,
           120},
          {"Clavos y fijaciones",
           {"Clavo punta París", "Clavo cabeza plana", "Taco de nylon", "Tarugo de expansión"},
           {"1\"", "1 1/2\"", "2\"", "2 1/2\"", "3\"", "6 mm", "8 mm", "10 mm"},
           {"x 100 u", "x 500 u", "caja x 1 kg"},
           "UN",
           300,
           4500},
          {"Herramientas de mano",
           {"Martillo carpintero", "Destornillador plano", "Destornillador Phillips",
            "Pinza universal", "Llave francesa"},
           {"6\"", "8\"", "10\"", "12\""},
           {"mango de goma", "mango bimaterial"},
           "UN",
           2500,
           18000},
          {"Cerraduras y herrajes",
           {"Candado de bronce", "Bisagra munición", "Pasador de hierro", "Cerradura de embutir"},
           {"30 mm", "40 mm", "50 mm", "63 mm"},
           {"niquelado", "pulido", "pintado negro"},
           "UN",
           900,
           22000}}});
    s.append({"Almacén",
              {"La Pampeana", "Don Tomás", "Rioplatense", "El Molino"},
              {{"Infusiones",
                {"Yerba mate", "Yerba mate suave", "Té en saquitos", "Café molido", "Mate cocido"},
                {"250 g", "500 g", "1 kg", "x 25 saquitos", "x 50 saquitos"},
                {},
                "UN",
                600,
                6500,
                10.5},
               {"Aceites y aderezos",
                {"Aceite girasol", "Aceite de oliva extra virgen", "Aceite mezcla",
                 "Vinagre de alcohol", "Mayonesa"},
                {"250 ml", "500 ml", "900 ml", "1,5 l"},
                {"", "en botella PET", "en lata"},
                "UN",
                700,
                12000,
                10.5},
               {"Harinas y pastas",
                {"Harina 000", "Harina 0000", "Fideos tirabuzón", "Fideos spaghetti",
                 "Arroz largo fino", "Polenta instantánea"},
                {"500 g", "1 kg", "5 kg"},
                {},
                "UN",
                350,
                4200,
                10.5},
               {"Azúcar y dulces",
                {"Azúcar común", "Azúcar impalpable", "Dulce de leche", "Mermelada de durazno",
                 "Dulce de membrillo"},
                {"250 g", "400 g", "500 g", "1 kg"},
                {"", "clásico", "light"},
                "UN",
                400,
                5200,
                10.5}}});
    s.append(
        {"Bebidas",
         {"Cumbre Andina", "Del Sur", "Patagonia Fresca", "Viñas del Litoral"},
         {{"Gaseosas",
           {"Gaseosa cola", "Gaseosa lima limón", "Gaseosa naranja", "Agua tónica"},
           {"500 ml", "1,5 l", "2,25 l", "lata 354 ml"},
           {"", "sin azúcar"},
           "UN",
           350,
           2800},
          {"Aguas",
           {"Agua mineral", "Agua saborizada pomelo", "Agua saborizada manzana", "Soda en sifón"},
           {"500 ml", "1,5 l", "2 l", "6 l"},
           {"sin gas", "con gas"},
           "UN",
           250,
           2200},
          {"Vinos",
           {"Vino tinto Malbec", "Vino tinto Cabernet", "Vino blanco Torrontés", "Vino rosado"},
           {"750 ml", "1,125 l", "bag in box 3 l"},
           {"reserva", "joven", "roble"},
           "UN",
           1500,
           16000},
          {"Cervezas",
           {"Cerveza rubia", "Cerveza negra", "Cerveza roja", "Cerveza IPA"},
           {"lata 473 ml", "botella 1 l", "porrón 330 ml"},
           {},
           "UN",
           600,
           3800}}});
    s.append(
        {"Limpieza",
         {"Brillex", "Casa Clara", "Espumil", "Limpia Sur"},
         {{"Lavandinas y desinfectantes",
           {"Lavandina", "Lavandina en gel", "Desinfectante de ambientes", "Limpiador de pisos"},
           {"500 ml", "1 l", "2 l", "5 l"},
           {"", "lavanda", "pino", "limón"},
           "UN",
           300,
           4800},
          {"Detergentes y jabones",
           {"Detergente", "Jabón en polvo", "Jabón líquido para ropa", "Suavizante"},
           {"500 ml", "750 ml", "800 g", "3 l"},
           {"limón", "aloe vera", "concentrado"},
           "UN",
           450,
           7500},
          {"Accesorios de limpieza",
           {"Escoba de cerda", "Secador de piso", "Trapo de piso", "Esponja doble faz", "Balde"},
           {"chico", "mediano", "grande"},
           {"", "reforzado"},
           "UN",
           250,
           6500}}});
    s.append({"Pinturería",
              {"Colorín", "Pintex", "Sinteplast Sur", "Andina Color"},
              {{"Látex",
                {"Látex interior", "Látex exterior", "Látex para cielorrasos", "Membrana líquida"},
                {"1 l", "4 l", "10 l", "20 l"},
                {"blanco", "mate", "satinado"},
                "UN",
                4500,
                95000},
               {"Esmaltes",
                {"Esmalte sintético", "Esmalte al agua", "Convertidor de óxido", "Barniz marino"},
                {"1/4 l", "1/2 l", "1 l", "4 l"},
                {"negro", "blanco", "brillante", "satinado"},
                "UN",
                2200,
                48000},
               {"Pinceles y rodillos",
                {"Pincel", "Rodillo de lana", "Rodillo de espuma", "Bandeja para rodillo"},
                {"N° 10", "N° 15", "N° 20", "9 cm", "17 cm", "22 cm"},
                {},
                "UN",
                600,
                9000}}});
    s.append({"Electricidad",
              {"Luminar", "Voltec", "Kalop", "Electro Plata"},
              {{"Cables",
                {"Cable unipolar", "Cable bipolar", "Cable tipo taller", "Cable subterráneo"},
                {"1,5 mm", "2,5 mm", "4 mm", "6 mm"},
                {"rollo 100 m", "x metro"},
                "MT",
                90,
                120000},
               {"Iluminación",
                {"Lámpara LED", "Tubo LED", "Reflector LED", "Plafón LED"},
                {"9 W", "12 W", "18 W", "30 W", "50 W"},
                {"luz fría", "luz cálida"},
                "UN",
                900,
                26000},
               {"Llaves y tomas",
                {"Interruptor de embutir", "Toma doble", "Ficha macho", "Zapatilla 5 tomas"},
                {"10 A", "20 A"},
                {"blanco", "marfil", "con protector"},
                "UN",
                500,
                9500}}});
    s.append({"Plomería",
              {"Hidrosur", "Caños del Plata", "Agualín", "Termotec"},
              {{"Caños y conexiones",
                {"Caño PVC", "Codo PVC", "Caño termofusión", "Codo termofusión", "Cupla de bronce"},
                {"20 mm", "25 mm", "40 mm", "63 mm", "110 mm"},
                {"", "reforzado"},
                "UN",
                120,
                15000},
               {"Grifería",
                {"Canilla de servicio", "Grifería de cocina", "Flexible mallado", "Llave de paso"},
                {"1/2\"", "3/4\"", "30 cm", "40 cm"},
                {"cromado", "bronce"},
                "UN",
                1200,
                65000}}});
    s.append({"Librería",
              {"Escribe", "Papelera del Sur", "Rivadavia Papel", "Trazo"},
              {{"Papel y cuadernos",
                {"Cuaderno rayado", "Cuaderno cuadriculado", "Repuesto escolar", "Resma A4",
                 "Block de dibujo"},
                {"48 hojas", "84 hojas", "200 hojas", "500 hojas 75 g"},
                {"tapa dura", "tapa blanda", ""},
                "UN",
                300,
                9000},
               {"Escritura",
                {"Birome", "Lápiz negro", "Marcador permanente", "Resaltador", "Corrector líquido"},
                {"x 1 u", "x 10 u", "x 50 u"},
                {"azul", "negro", "rojo", "verde"},
                "UN",
                80,
                6000}}});
    return s;
}

} // namespace

const QList<SeccionDemo>& CatalogoDemo::secciones() {
    static const QList<SeccionDemo> s = armarSecciones();
    return s;
}

const QList<UsuarioDemo>& CatalogoDemo::usuarios() {
    static const QList<UsuarioDemo> u = {
        {"demo", "Usuario de demostración", 1, "   1", 1, 10},
        {"marta", "Marta Giménez", 1, "   1", 0, 28},
        {"ana", "Ana Ferreyra", 0, "   1", 0, 24},
        {"carlos", "Carlos Benítez", 0, "   2", 0, 20},
        {"jorge", "Jorge Quiroga", 0, "   2", 0, 12},
        {"lucia", "Lucía Paz", 0, "   1", 0, 6},
    };
    return u;
}

const QStringList& CatalogoDemo::listasDePrecios() {
    static const QStringList l = {"Lista General", "Mayoristas",  "Distribuidores",
                                  "Supermercados", "Gastronomía", "Instituciones",
                                  "Promociones",   "Empleados"};
    return l;
}

const QStringList& CatalogoDemo::clasesDePrecio() {
    static const QStringList c = {"Mayorista", "Minorista", "Distribuidor",     "Revendedor",
                                  "Contado",   "Tarjeta",   "Cuenta Corriente", "Especial"};
    return c;
}

double CatalogoDemo::margenClase(int clase) {
    static const double m[] = {0.25, 0.60, 0.18, 0.35, 0.50, 0.70, 0.65, 0.40};
    return (clase >= 1 && clase <= 8) ? m[clase - 1] : 0.0;
}

double CatalogoDemo::factorLista(int lista) {
    static const double f[] = {1.00, 0.92, 0.88, 0.95, 1.05, 0.97, 0.85, 0.80};
    return (lista >= 1 && lista <= 8) ? f[lista - 1] : 1.0;
}

const QStringList& CatalogoDemo::apellidos() {
    static const QStringList a = {
        "Fernández", "González",  "Rodríguez", "López",   "Martínez", "García",   "Pérez",
        "Sánchez",   "Romero",    "Sosa",      "Álvarez", "Torres",   "Ruiz",     "Ramírez",
        "Flores",    "Acosta",    "Benítez",   "Medina",  "Herrera",  "Aguirre",  "Pereyra",
        "Gutiérrez", "Giménez",   "Molina",    "Silva",   "Castro",   "Rojas",    "Ortiz",
        "Núñez",     "Luna",      "Juárez",    "Cabrera", "Ríos",     "Ferreyra", "Godoy",
        "Morales",   "Domínguez", "Moreno",    "Peralta", "Vega",     "Carrizo",  "Quiroga"};
    return a;
}

const QStringList& CatalogoDemo::localidades() {
    static const QStringList l = {"Rosario",    "Córdoba",  "Mendoza",       "Santa Fe",
                                  "Paraná",     "La Plata", "Mar del Plata", "Bahía Blanca",
                                  "San Juan",   "Salta",    "Tucumán",       "Neuquén",
                                  "Río Cuarto", "Rafaela",  "Venado Tuerto", "Pergamino"};
    return l;
}

const QStringList& CatalogoDemo::calles() {
    static const QStringList c = {"San Martín", "Belgrano",   "Rivadavia",  "Mitre",
                                  "Sarmiento",  "Urquiza",    "Moreno",     "Alberdi",
                                  "Pellegrini", "Corrientes", "Entre Ríos", "Catamarca"};
    return c;
}

QString CatalogoDemo::nombreEmpresa() {
    return QStringLiteral("Distribuidora El Ombú S.A.");
}

} // namespace rp::demo
