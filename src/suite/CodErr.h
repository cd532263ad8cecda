#pragma once

#include <QString>

namespace rp::suite {

// A failure as the program reports it: its code (0 means no error), its
// message text and the component that raised it (the program itself or a
// database provider).
struct CodErr {
    qint32 number = 0;
    QString description;
    QString source;
};

} // namespace rp::suite
