#pragma once

#include <QString>
#include <optional>

// The resource lines of the activity window, 114 columns: the type in
// columns 1-4 ("ATTR", "AUTO", "VOL.", "VOL>"), the quantity right-aligned
// in columns 7-11, the association in columns 15-64 and the description in
// columns 65-114. The records of risorse.csv keep the same four parts.
namespace resources {

constexpr int kLineWidth = 114;

// The types: equipment, a vehicle, volunteers of an association, one named
// volunteer.
inline const QString kTypeAttr = QStringLiteral("ATTR");
inline const QString kTypeAuto = QStringLiteral("AUTO");
inline const QString kTypeVol = QStringLiteral("VOL.");
inline const QString kTypeNamed = QStringLiteral("VOL>");

// The four parts of a resource, as stored or cut from a line.
struct Resource {
    QString tipo, numero, associazione, descrizione;
};

// The parts of a line, cut or padded to 114 columns first (the quantity
// with the column after it: columns 7-12).
Resource partsOf(const QString &line);

// The line that shows a stored resource: a quantity that is a number is
// shown plainly, anything else as it is stored.
QString lineOf(const Resource &r);

// The quantity typed in the resource window: a number, rounded to a whole
// one, from 0 to 32767 (a negative quantity would give back what was never
// taken).
// Nothing for anything else.
std::optional<qint16> quantity(const QString &typed);
QString quantityRefusal();

// The quantity right-aligned in five columns ("####0").
QString quantityColumn(qint16 q);

// The resource lines made from a picked list line (they may run past
// column 114; only the first 114 columns are stored).
QString equipmentLine(const QString &listLine, qint16 q);
QString vehicleLine(const QString &listLine);
QString volunteersLine(const QString &listLine, qint16 q);
// One named volunteer of the association in columns 1-50 of `listLine`.
QString namedVolunteerLine(const QString &listLine, const QString &name);

} // namespace resources
