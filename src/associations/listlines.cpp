#include "associations/listlines.h"

#include "archive/rewrite.h"
#include "archive/text.h"
#include "associations/records.h"
#include "registers/registers.h"

using archive::Record;

namespace associations {

QString listHeading(const QString &emergencyName)
{
    return QStringLiteral(" ELENCO ASSOCIAZIONI ") + emergencyName;
}

QString listLine(const QString &denominazione, qint16 volontari)
{
    return text::fit(denominazione, registers::kColumn) + QLatin1Char(' ')
           + QString::number(volontari);
}

QString columnHeadings()
{
    return text::atColumns({{0, QStringLiteral("Associazione")},
                            {registers::kColumn + 1, QStringLiteral("Volontari")}});
}

QString totalLine(qint64 total)
{
    return text::fit(QStringLiteral("TOTALE"), registers::kColumn) + QLatin1Char(' ')
           + QString::number(total);
}

registers::ListLines listLines(const QString &path, const QString &emergencyName,
                               const std::optional<QString> &search, bool withTotal)
{
    registers::ListLines out;
    out.lines << listHeading(emergencyName) << QString(5, QLatin1Char(' '));
    const QString wanted = search ? text::capitals(*search) : QString();
    // Each count is a 16-bit number; their sum is not.
    qint64 total = 0;
    archive::readRecords(path, format(), [&](const Record &r) {
        const QString &name = r.at(Denominazione);
        if (search && (name.isEmpty() || !name.contains(wanted))) return true;
        const qint16 volontari = r.number(Volontari);
        out.lines << listLine(name, volontari);
        total += volontari;
        ++out.records;
        return true;
    });
    if (withTotal) out.lines << QStringLiteral(" ") << totalLine(total);
    return out;
}

QStringList namesContaining(const QString &path, const QString &text, bool emptyNamesToo)
{
    const QString wanted = text::capitals(text);
    QStringList out;
    archive::readRecords(path, format(), [&](const Record &r) {
        const QString &name = r.at(Denominazione);
        if (name.isEmpty() ? (wanted.isEmpty() && emptyNamesToo) : name.contains(wanted))
            out << name;
        return true;
    });
    return out;
}

} // namespace associations
