#include "registers/listlines.h"

#include "archive/rewrite.h"
#include "archive/text.h"
#include "registers/registers.h"

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

QString pairHeadings(bool withQuantity)
{
    // The state letter stands in the column at index 2 * kColumn.
    const QString state = QStringLiteral("Stato");
    const QString pair = text::atColumns({{0, QStringLiteral("Associazione")},
                                          {kColumn, QStringLiteral("Descrizione")},
                                          {2 * kColumn + 1 - int(state.size()), state}});
    if (!withQuantity) return pair;
    return text::atColumns({{0, pair}, {2 * kColumn + 3, QStringLiteral("Quantità")}});
}

QString stateLetters()
{
    return QStringLiteral("Stato: A = Attivo, B = Bloccato, L = Libero, R = Riposo");
}

ListLines pairListLines(const QString &path, const archive::RecordFormat &format,
                        const QString &heading, PairFilter filter, const QString &text,
                        bool emptyMatchesEmpty, const std::function<QString(const Record &)> &line)
{
    ListLines out;
    out.lines << heading << QString();
    const QString wanted = filter == PairFilter::Description ? text::capitals(text) : text;
    archive::readRecords(path, format, [&](const Record &r) {
        bool keep = true;
        if (filter == PairFilter::OfAssociation) keep = r.at(0) == wanted;
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

QString listAssociation(const QString &line) { return line.mid(0, kColumn); }

QString listDescription(const QString &line) { return line.mid(kColumn, kColumn); }

QString listQuantity(ResourceKind kind, const QString &line)
{
    switch (kind) {
    case ResourceKind::Equipment: return line.mid(2 * kColumn + 3, 6);
    case ResourceKind::Vehicle: return QStringLiteral("1");
    case ResourceKind::Association: return line.mid(kColumn + 1, 6);
    }
    return {};
}

} // namespace registers
