#include "equipment/records.h"

#include "archive/rewrite.h"
#include "archive/text.h"

using archive::Record;
using archive::RecordSink;
using archive::Step;
using registers::Outcome;

namespace equipment {

const archive::RecordFormat &format()
{
    static const archive::RecordFormat f{4, {Quantita}};
    return f;
}

const archive::RecordFormat &Item::format() { return equipment::format(); }

Item Item::from(const Record &r)
{
    return {r.at(Associazione), r.at(Descrizione), r.at(Stato), r.number(Quantita)};
}

namespace {


Outcome changeQuantity(const archive::WorkingFolder &folder, const QString &associazione50,
                       const QString &descrizione50, int delta, bool givingBack, bool *matched)
{
    return registers::changeFirstPair(
        folder.set(archive::Register::Attrezzature), format(), associazione50, descrizione50,
        [&](Record &changed) {
            const int q = changed.number(Quantita) + delta;
            if (q < -32768 || q > 32767) return false;
            changed.values[Quantita] = static_cast<qint16>(q);
            if (q == 0) changed.fields[Stato] = QStringLiteral("A");
            else if (givingBack) changed.fields[Stato] = QStringLiteral("L");
            return true;
        },
        matched);
}

} // namespace

QStringList recordFields(const Input &in)
{
    return {registers::keyText(in.associazione), registers::keyText(in.descrizione),
            registers::stateLetter(in.stato), in.qta};
}

QString check(const Input &in)
{
    const QStringList f = recordFields(in);
    if (f.at(Associazione).isEmpty()) return QStringLiteral("Manca Associazione.");
    if (f.at(Descrizione).isEmpty()) return QStringLiteral("Manca descrizione automezzo.");
    if (in.stato.isEmpty()) return QStringLiteral("Manca stato.");
    if (!registers::isStateLetter(f.at(Stato))) return QStringLiteral("Stato non previsto.");
    if (in.qta.isEmpty()) return QString::fromUtf8("Manca quantità.");
    if (!text::parseNumber(in.qta))
        return QString::fromUtf8("Quantità dell'attrezzatura errata.");
    return registers::refusalOf(f);
}

Outcome insert(const archive::WorkingFolder &folder, const QStringList &fields)
{
    return registers::insertOrdered(folder.set(archive::Register::Attrezzature), format(), fields, 2);
}

Outcome modify(const archive::WorkingFolder &folder, const Key &key, const QStringList &fields)
{
    return registers::insertOrdered(folder.set(archive::Register::Attrezzature), format(), fields, 2,
                                   [&](const Record &r) { return registers::pairKeyOf(r) == key; });
}

Outcome engage(const archive::WorkingFolder &folder, const QString &associazione50,
               const QString &descrizione50, int pieces, bool *matched)
{
    return changeQuantity(folder, associazione50, descrizione50, -pieces, false, matched);
}

Outcome giveBack(const archive::WorkingFolder &folder, const QString &associazione50,
                 const QString &descrizione50, int pieces, bool *matched)
{
    return changeQuantity(folder, associazione50, descrizione50, pieces, true, matched);
}

} // namespace equipment
