#include "equipment/records.h"

#include "archive/rewrite.h"
#include "archive/text.h"
#include "registers/holdings.h"

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

QString equipmentText(const Key &key)
{
    return registers::pairText(QStringLiteral("l'attrezzatura"), key);
}

Outcome changeQuantity(const archive::WorkingFolder &folder, const QString &associazione50,
                       const QString &descrizione50, int delta, bool givingBack, bool *matched,
                       qint16 *availableWhenShort = nullptr)
{
    return registers::changeFirstPair(
        folder.set(archive::Register::Attrezzature), format(), associazione50, descrizione50,
        [&](Record &changed) {
            const int q = changed.number(Quantita) + delta;
            // Taking more than there is: refused, saying how many there are.
            if (availableWhenShort && q < 0) {
                *availableWhenShort = changed.number(Quantita);
                return false;
            }
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
    if (!text::parseNumber(in.qta)) return QString::fromUtf8("Quantità dell'attrezzatura errata.");
    return registers::refusalOf(f);
}

Outcome insert(const archive::WorkingFolder &folder, const QStringList &fields)
{
    return registers::inOneChange(folder, [&] {
        return registers::toldInDiary(
            folder,
            registers::insertOrdered(folder.set(archive::Register::Attrezzature), format(), fields, 2),
            QStringLiteral("Inserita %1.")
                .arg(equipmentText({fields.at(Associazione), fields.at(Descrizione)})));
    });
}

namespace {

// The refusal of a change that would part equipment held by an activity from
// what holds it (empty when nothing holds it).
QString heldRefusal(const archive::WorkingFolder &folder, const Key &key, bool deleting)
{
    const registers::Holders h = registers::holdersOf(folder, {registers::kHeldEquipment},
                                                      key.associazione, key.descrizione);
    if (!h.any()) return {};
    return QStringLiteral("L'attrezzatura %1 dell'associazione %2 è impegnata %3: ")
               .arg(key.descrizione, key.associazione, h.where())
           + (deleting ? QStringLiteral("non può essere eliminata finché non torna disponibile.")
                       : QStringLiteral("associazione e descrizione non possono cambiare finché "
                                        "non torna disponibile."));
}

} // namespace

Outcome remove(const archive::WorkingFolder &folder, const Key &key)
{
    // Checked and written as one change, under the folder's change lock.
    return registers::inOneChange(folder, [&]() -> Outcome {
        const QString held = heldRefusal(folder, key, true);
        if (!held.isEmpty()) return Outcome::refused(Outcome::Refused, held);
        return registers::toldInDiary(folder, Archive::remove(folder, key),
                                      QStringLiteral("Eliminata %1.").arg(equipmentText(key)));
    });
}

Outcome modify(const archive::WorkingFolder &folder, const Key &key, const QStringList &fields)
{
    // Checked and written as one change, under the folder's change lock.
    return registers::inOneChange(folder, [&]() -> Outcome {
        // What an activity holds goes back to the record by its name: the name
        // stays while it is held.
        const Key newKey{fields.at(Associazione), fields.at(Descrizione)};
        if (newKey != key) {
            // A key already taken is told first, as the rewrite would.
            bool taken = false;
            registers::eachLine(folder.path(archive::File::Attrezzature), format(),
                                [&](const Record &r) {
                                    return !(taken = registers::pairKeyOf(r) == newKey);
                                });
            if (taken) return Outcome::with(Outcome::Duplicate);
            const QString held = heldRefusal(folder, key, false);
            if (!held.isEmpty()) return Outcome::refused(Outcome::Refused, held);
        }
        registers::toldInDiary(folder, Outcome{},
                               newKey == key
                                   ? QStringLiteral("Modificata %1.").arg(equipmentText(key))
                                   : QStringLiteral("Rinominata %1 > %2 dell'associazione %3.")
                                         .arg(equipmentText(key), newKey.descrizione,
                                              newKey.associazione));
        return registers::insertOrdered(folder.set(archive::Register::Attrezzature), format(),
                                        fields, 2, [&](const Record &r) {
                                            return registers::pairKeyOf(r) == key;
                                        });
    });
}

Outcome engage(const archive::WorkingFolder &folder, const QString &associazione50,
               const QString &descrizione50, int pieces, bool *matched, bool onlyAvailable)
{
    qint16 available = -1;
    const Outcome o = changeQuantity(folder, associazione50, descrizione50, -pieces, false, matched,
                                     onlyAvailable ? &available : nullptr);
    if (available < 0 || o.status != Outcome::OutOfRange) return o;
    return Outcome::refused(
        Outcome::Refused,
        QStringLiteral("Dell'attrezzatura %1 dell'associazione %2 sono disponibili %3 pezzi: non se "
                       "ne possono impegnare %4.")
            .arg(text::fit(descrizione50, registers::kColumn).trimmed(),
                 text::fit(associazione50, registers::kColumn).trimmed())
            .arg(available)
            .arg(pieces));
}

Outcome giveBack(const archive::WorkingFolder &folder, const QString &associazione50,
                 const QString &descrizione50, int pieces, bool *matched)
{
    return changeQuantity(folder, associazione50, descrizione50, pieces, true, matched);
}

} // namespace equipment
