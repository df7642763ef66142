#include "associations/listlines.h"

#include "archive/rewrite.h"
#include "archive/text.h"
#include "associations/records.h"
#include "associations/registers.h"

using archive::Record;

namespace registers {

namespace {

bool contains(const QString &field, const QString &wanted, bool emptyMatchesEmpty)
{
    if (field.isEmpty()) return wanted.isEmpty() && emptyMatchesEmpty;
    return field.contains(wanted);
}

} // namespace

QString pairColumns(const QString &associazione, const QString &descrizione)
{
    return text::fit(associazione, kColumn) + text::fit(descrizione, kColumn);
}

ListLines pairListLines(const QString &path, const archive::RecordFormat &format,
                        const QString &heading, PairFilter filter, const QString &text,
                        bool emptyMatchesEmpty,
                        const std::function<QString(const Record &)> &line)
{
    ListLines out;
    out.lines << heading << QString();
    const QString wanted = filter == PairFilter::Description ? text::capitals(text) : text;
    archive::readRecords(path, format, [&](const Record &r) {
        bool keep = true;
        if (filter == PairFilter::OfAssociation)
            keep = r.at(0) == wanted;
        else if (filter == PairFilter::Description)
            keep = contains(r.at(1), wanted, emptyMatchesEmpty);
        if (keep) {
            out.lines << line(r);
            ++out.records;
        }
        return true;
    });
    return out;
}

} // namespace registers

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
