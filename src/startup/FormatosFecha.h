#pragma once

#include <QDateTime>
#include <QString>

namespace rp::startup {

// The program's own date stamps, one layout for all of them:
// "dd/mm/yy hh:mm" (day, month and two-digit year joined by the
// workstation's date separator; 24-hour hours and minutes). Without an
// argument each routine stamps the current moment.
QString FormatoFechaHora(const QDateTime& momento = QDateTime::currentDateTime());
QString FormatoFecha(const QDateTime& momento = QDateTime::currentDateTime());
QString FormatoHora(const QDateTime& momento = QDateTime::currentDateTime());

// The Qt format of the date part ("dd/MM/yy" with the date separator).
QString PatronFecha();

} // namespace rp::startup
