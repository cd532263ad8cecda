#include "report/engine/ParserFormula.h"

#include "report/engine/ErrorMotor.h"
#include "report/engine/LexerFormula.h"

#include <QDate>
#include <QDateTime>
#include <algorithm>
#include <vector>

namespace rp::motor {

namespace {

int profundidadDe(const NodoFormula& n) {
    int hijos = 0;
    if (const auto* u = std::get_if<NodoUnario>(&n.contenido))
        hijos = u->operando->profundidad;
    else if (const auto* b = std::get_if<NodoBinario>(&n.contenido))
        hijos = std::max(b->izquierdo->profundidad, b->derecho->profundidad);
    else if (const auto* f = std::get_if<NodoFuncion>(&n.contenido))
        for (const Formula& a : f->argumentos)
            hijos = std::max(hijos, a->profundidad);
    return hijos + 1;
}

// Moves the subtrees of `n` into `pendientes`.
void soltarHijos(NodoFormula& n, std::vector<Formula>& pendientes) {
    if (auto* u = std::get_if<NodoUnario>(&n.contenido)) {
        pendientes.push_back(std::move(u->operando));
    } else if (auto* b = std::get_if<NodoBinario>(&n.contenido)) {
        pendientes.push_back(std::move(b->izquierdo));
        pendientes.push_back(std::move(b->derecho));
    } else if (auto* f = std::get_if<NodoFuncion>(&n.contenido)) {
        for (Formula& a : f->argumentos)
            pendientes.push_back(std::move(a));
        f->argumentos.clear();
    }
}

} // namespace

NodoFormula::~NodoFormula() {
    std::vector<Formula> pendientes;
    soltarHijos(*this, pendientes);
    while (!pendientes.empty()) {
        Formula f = std::move(pendientes.back());
        pendientes.pop_back();
        // The last owner takes the children first, so `f` goes without recursing.
        // Nodes are always created non-const (make_shared<NodoFormula>).
        if (f && f.use_count() == 1)
            soltarHijos(const_cast<NodoFormula&>(*f), pendientes);
    }
}

namespace {

Formula nodoSinLimite(const TokenFormula& donde, auto contenido) {
    auto n = std::make_shared<NodoFormula>();
    n->contenido = std::move(contenido);
    n->linea = donde.linea;
    n->columna = donde.columna;
    n->profundidad = profundidadDe(*n);
    return n;
}

struct DefinicionFuncion {
    const char* nombre;
    Funcion funcion;
};

constexpr DefinicionFuncion funciones[] = {
    {"TrimLeft", Funcion::TrimLeft},   {"TrimRight", Funcion::TrimRight},
    {"Trim", Funcion::Trim},           {"ToNumber", Funcion::ToNumber},
    {"UpperCase", Funcion::UpperCase}, {"UCase", Funcion::UpperCase},
    {"LowerCase", Funcion::LowerCase}, {"LCase", Funcion::LowerCase},
    {"ToText", Funcion::ToText},       {"CStr", Funcion::ToText},
};

// A constant whole number argument of Date() / DateTime().
std::optional<int> entero(const Formula& f) {
    const auto* lit = std::get_if<NodoLiteral>(&f->contenido);
    if (lit && lit->valor.typeId() == QMetaType::Double) {
        const double v = lit->valor.toDouble();
        if (v == static_cast<int>(v))
            return static_cast<int>(v);
    }
    if (const auto* un = std::get_if<NodoUnario>(&f->contenido);
        un && un->op == OperadorUnario::Negativo) {
        if (auto v = entero(un->operando))
            return -*v;
    }
    return std::nullopt;
}

} // namespace

namespace {

[[noreturn]] void demasiadoAnidada(const TokenFormula& donde, const QString& origen) {
    throw ErrorMotor(QStringLiteral("fórmula demasiado anidada: más de %1 niveles")
                         .arg(kProfundidadMaximaFormula),
                     donde.linea, donde.columna, origen);
}

} // namespace

template <typename Contenido>
Formula ParserFormula::nodo(const TokenFormula& donde, Contenido contenido) const {
    Formula n = nodoSinLimite(donde, std::move(contenido));
    if (n->profundidad > kProfundidadMaximaFormula)
        demasiadoAnidada(donde, origen_);
    return n;
}

ParserFormula::Nivel::Nivel(ParserFormula& p, const TokenFormula& donde) : p_(p) {
    if (++p_.nivel_ > kProfundidadMaximaFormula) {
        --p_.nivel_;
        demasiadoAnidada(donde, p_.origen_);
    }
}

QString describirToken(const TokenFormula& tk) {
    switch (tk.tipo) {
    case TokenFormula::Fin:
        return QStringLiteral("fin de la fórmula");
    case TokenFormula::Campo:
        return QLatin1Char('{') + tk.texto + QLatin1Char('.') + tk.campo + QLatin1Char('}');
    case TokenFormula::Formula:
        return QStringLiteral("{@") + tk.texto + QLatin1Char('}');
    case TokenFormula::Especial:
        return QLatin1Char('{') + tk.texto + QLatin1Char('}');
    case TokenFormula::Cadena:
        return QLatin1Char('\'') + tk.texto + QLatin1Char('\'');
    case TokenFormula::Numero:
    case TokenFormula::Identificador:
        return tk.texto;
    case TokenFormula::ParenAbre:
        return QStringLiteral("(");
    case TokenFormula::ParenCierra:
        return QStringLiteral(")");
    case TokenFormula::Coma:
        return QStringLiteral(",");
    case TokenFormula::Igual:
        return QStringLiteral("=");
    case TokenFormula::Distinto:
        return QStringLiteral("<>");
    case TokenFormula::Menor:
        return QStringLiteral("<");
    case TokenFormula::MenorIgual:
        return QStringLiteral("<=");
    case TokenFormula::Mayor:
        return QStringLiteral(">");
    case TokenFormula::MayorIgual:
        return QStringLiteral(">=");
    case TokenFormula::Mas:
        return QStringLiteral("+");
    case TokenFormula::Menos:
        return QStringLiteral("-");
    case TokenFormula::Por:
        return QStringLiteral("*");
    case TokenFormula::Entre:
        return QStringLiteral("/");
    case TokenFormula::Concatenar:
        return QStringLiteral("&");
    case TokenFormula::Asignar:
        return QStringLiteral(":=");
    }
    return QString();
}

Formula ParserFormula::analizar(const QString& texto, const QString& origen) {
    if (texto.trimmed().isEmpty())
        return nullptr;
    ParserFormula p(LexerFormula::tokenizar(texto, origen), origen);
    if (p.actual().tipo == TokenFormula::Fin)
        return nullptr; // only comments
    Formula f = p.expresion();
    p.exigirFin();
    return f;
}

AsignacionFormula ParserFormula::analizarAsignacion(const QString& texto, const QString& origen) {
    ParserFormula p(LexerFormula::tokenizar(texto, origen), origen);
    const TokenFormula nombre = p.actual();
    if (nombre.tipo != TokenFormula::Identificador)
        p.fallar(QStringLiteral("se esperaba el nombre de una fórmula"), nombre);
    p.tomar();
    if (p.actual().tipo != TokenFormula::Igual && p.actual().tipo != TokenFormula::Asignar)
        p.fallar(QStringLiteral("se esperaba '=' después de %1").arg(nombre.texto), p.actual());
    p.tomar();
    AsignacionFormula a;
    a.nombre = nombre.texto;
    if (p.actual().tipo == TokenFormula::Fin) {
        a.valor = p.nodo(p.actual(), NodoLiteral{QString()});
        return a;
    }
    a.valor = p.expresion();
    p.exigirFin();
    return a;
}

void ParserFormula::fallar(const QString& mensaje, const TokenFormula& donde) const {
    throw ErrorMotor(mensaje, donde.linea, donde.columna, origen_);
}

void ParserFormula::exigirFin() const {
    if (actual().tipo != TokenFormula::Fin)
        fallar(QStringLiteral("texto inesperado: %1").arg(describirToken(actual())), actual());
}

void ParserFormula::exigir(TokenFormula::Tipo tipo, const char* texto) {
    if (actual().tipo != tipo)
        fallar(QStringLiteral("se esperaba '%1' y se encontró %2")
                   .arg(QLatin1String(texto), describirToken(actual())),
               actual());
    tomar();
}

Formula ParserFormula::expresion() {
    const Nivel nivel(*this, actual());
    return disyuncion();
}

Formula ParserFormula::disyuncion() {
    Formula izq = conjuncion();
    while (actual().esPalabra("or")) {
        const TokenFormula op = tomar();
        izq = nodo(op, NodoBinario{OperadorBinario::O, izq, conjuncion()});
    }
    return izq;
}

Formula ParserFormula::conjuncion() {
    Formula izq = negacion();
    while (actual().esPalabra("and")) {
        const TokenFormula op = tomar();
        izq = nodo(op, NodoBinario{OperadorBinario::Y, izq, negacion()});
    }
    return izq;
}

Formula ParserFormula::negacion() {
    if (actual().esPalabra("not")) {
        const TokenFormula op = tomar();
        const Nivel nivel(*this, op);
        return nodo(op, NodoUnario{OperadorUnario::No, negacion()});
    }
    return comparacion();
}

Formula ParserFormula::comparacion() {
    Formula izq = suma();
    OperadorBinario op;
    switch (actual().tipo) {
    case TokenFormula::Igual:
        op = OperadorBinario::Igual;
        break;
    case TokenFormula::Distinto:
        op = OperadorBinario::Distinto;
        break;
    case TokenFormula::Menor:
        op = OperadorBinario::Menor;
        break;
    case TokenFormula::MenorIgual:
        op = OperadorBinario::MenorIgual;
        break;
    case TokenFormula::Mayor:
        op = OperadorBinario::Mayor;
        break;
    case TokenFormula::MayorIgual:
        op = OperadorBinario::MayorIgual;
        break;
    default:
        if (!actual().esPalabra("like"))
            return izq;
        op = OperadorBinario::Como;
        break;
    }
    const TokenFormula tk = tomar();
    Formula der = suma();
    return nodo(tk, NodoBinario{op, izq, der});
}

Formula ParserFormula::suma() {
    Formula izq = producto();
    while (true) {
        OperadorBinario op;
        if (actual().tipo == TokenFormula::Mas)
            op = OperadorBinario::Suma;
        else if (actual().tipo == TokenFormula::Menos)
            op = OperadorBinario::Resta;
        else if (actual().tipo == TokenFormula::Concatenar)
            op = OperadorBinario::Concatenar;
        else
            return izq;
        const TokenFormula tk = tomar();
        izq = nodo(tk, NodoBinario{op, izq, producto()});
    }
}

Formula ParserFormula::producto() {
    Formula izq = unario();
    while (actual().tipo == TokenFormula::Por || actual().tipo == TokenFormula::Entre) {
        const TokenFormula tk = tomar();
        const auto op =
            tk.tipo == TokenFormula::Por ? OperadorBinario::Producto : OperadorBinario::Cociente;
        izq = nodo(tk, NodoBinario{op, izq, unario()});
    }
    return izq;
}

Formula ParserFormula::unario() {
    if (actual().tipo == TokenFormula::Menos) {
        const TokenFormula tk = tomar();
        const Nivel nivel(*this, tk);
        Formula operando = unario();
        // Fold negative number constants.
        if (const auto* lit = std::get_if<NodoLiteral>(&operando->contenido);
            lit && lit->valor.typeId() == QMetaType::Double)
            return nodo(tk, NodoLiteral{QVariant(-lit->valor.toDouble())});
        return nodo(tk, NodoUnario{OperadorUnario::Negativo, operando});
    }
    return primario();
}

Formula ParserFormula::primario() {
    const TokenFormula tk = actual();
    switch (tk.tipo) {
    case TokenFormula::Numero:
        tomar();
        return nodo(tk, NodoLiteral{QVariant(tk.numero)});
    case TokenFormula::Cadena:
        tomar();
        return nodo(tk, NodoLiteral{QVariant(tk.texto)});
    case TokenFormula::Campo:
        tomar();
        return nodo(tk, NodoCampo{tk.texto, tk.campo, NodoCampo::claveDe(tk.texto, tk.campo)});
    case TokenFormula::Formula:
        tomar();
        return nodo(tk, NodoReferenciaFormula{tk.texto});
    case TokenFormula::Especial:
        tomar();
        return nodo(tk, NodoEspecial{tk.texto});
    case TokenFormula::ParenAbre: {
        tomar();
        Formula f = expresion();
        exigir(TokenFormula::ParenCierra, ")");
        return f;
    }
    case TokenFormula::Identificador:
        if (tk.esPalabra("true") || tk.esPalabra("false")) {
            tomar();
            return nodo(tk, NodoLiteral{QVariant(tk.esPalabra("true"))});
        }
        if (tk.esPalabra("and") || tk.esPalabra("or") || tk.esPalabra("not") ||
            tk.esPalabra("like"))
            break;
        tomar();
        return llamada(tk);
    default:
        break;
    }
    fallar(QStringLiteral("se esperaba un valor y se encontró %1").arg(describirToken(tk)), tk);
}

Formula ParserFormula::llamada(const TokenFormula& nombre) {
    if (actual().tipo != TokenFormula::ParenAbre)
        fallar(QStringLiteral("nombre desconocido: %1").arg(nombre.texto), nombre);
    tomar();
    QList<Formula> args;
    if (actual().tipo != TokenFormula::ParenCierra) {
        args << expresion();
        while (actual().tipo == TokenFormula::Coma) {
            tomar();
            args << expresion();
        }
    }
    exigir(TokenFormula::ParenCierra, ")");

    if (nombre.esPalabra("Date") || nombre.esPalabra("DateTime")) {
        const bool conHora = nombre.esPalabra("DateTime");
        const int esperados = conHora ? 6 : 3;
        if (args.size() != esperados && !(conHora && args.size() == 3))
            fallar(QStringLiteral("%1 lleva %2 argumentos").arg(nombre.texto).arg(esperados),
                   nombre);
        int v[6] = {0, 0, 0, 0, 0, 0};
        for (qsizetype i = 0; i < args.size(); ++i) {
            const auto n = entero(args.at(i));
            if (!n)
                fallar(QStringLiteral("%1 lleva números enteros").arg(nombre.texto), nombre);
            v[i] = *n;
        }
        const QDate fecha(v[0], v[1], v[2]);
        const QTime hora(v[3], v[4], v[5]);
        if (!fecha.isValid() || !hora.isValid())
            fallar(QStringLiteral("fecha no válida"), nombre);
        if (!conHora)
            return nodo(nombre, NodoLiteral{QVariant(fecha)});
        return nodo(nombre, NodoLiteral{QVariant(QDateTime(fecha, hora))});
    }

    for (const auto& def : funciones) {
        if (nombre.esPalabra(def.nombre)) {
            if (args.size() != 1)
                fallar(QStringLiteral("%1 lleva 1 argumento").arg(nombre.texto), nombre);
            return nodo(nombre, NodoFuncion{def.funcion, args});
        }
    }
    fallar(QStringLiteral("función desconocida: %1").arg(nombre.texto), nombre);
}

} // namespace rp::motor
