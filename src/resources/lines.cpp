#include "resources/lines.h"

#include "archive/text.h"
#include "registers/listlines.h"
#include "registers/registers.h"

namespace resources {

namespace {

constexpr int kColumn = registers::kColumn;

QString head(const QString &tipo, const QString &qty)
{
    return text::fit(tipo, 4) + QStringLiteral("  ") + qty + QStringLiteral("   ");
}

} // namespace

Resource partsOf(const QString &line)
{
    const QString l = text::fit(line, kLineWidth);
    return {l.mid(0, 4), l.mid(6, 6), l.mid(14, kColumn), l.mid(14 + kColumn, kColumn)};
}

QString lineOf(const Resource &r)
{
    const auto n = text::parseNumber(r.numero);
    return head(r.tipo, text::alignRight(n ? QString::number(*n) : r.numero, 5))
           + text::fit(r.associazione, kColumn) + text::fit(r.descrizione, kColumn);
}

std::optional<qint16> quantity(const QString &typed)
{
    const auto q = text::parseRounded(typed);
    if (!q || *q < 0) return std::nullopt;
    return q;
}

QString quantityRefusal()
{
    return QStringLiteral("Quantità errata: inserire un numero intero da 0 a 32767.");
}

QString quantityColumn(qint16 q) { return text::alignRight(QString::number(q), 5); }

QString equipmentLine(const QString &listLine, qint16 q)
{
    return head(kTypeAttr, quantityColumn(q)) + listLine;
}

QString vehicleLine(const QString &listLine)
{
    return head(kTypeAuto, quantityColumn(1)) + listLine;
}

QString volunteersLine(const QString &listLine, qint16 q)
{
    return head(kTypeVol, quantityColumn(q)) + registers::listAssociation(listLine);
}

QString namedVolunteerLine(const QString &listLine, const QString &name)
{
    return head(kTypeNamed, quantityColumn(0))
           + text::fit(registers::listAssociation(listLine), kColumn) + QLatin1Char(' ') + name;
}

} // namespace resources
