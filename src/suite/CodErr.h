#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

namespace rp::suite {

// A failure as the program reports it: its code (0 means no error), its
// message text and the component that raised it (the program itself or a
// database provider). Thrown as an exception (the common dialog's
// cancellation, a report step's failure), so a handler for std::exception
// sees it too, with the message text as what().
struct CodErr : std::exception {
    qint32 number = 0;
    QString description;
    QString source;

    CodErr() = default;
    CodErr(qint32 numero, QString descripcion, QString origen = QString())
        : number(numero), description(std::move(descripcion)), source(std::move(origen)) {}

    const char* what() const noexcept override {
        texto_ = description.toUtf8();
        return texto_.constData();
    }

private:
    mutable QByteArray texto_;
};

} // namespace rp::suite
