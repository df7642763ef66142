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

Item Item::from(const Record &r)
{
    return {r.at(Associazione), r.at(Descrizione), r.at(Stato), r.number(Quantita)};
}

namespace {

Key keyOf(const Record &r) { return {r.at(Associazione), r.at(Descrizione)}; }

Outcome changeQuantity(const archive::WorkingFolder &folder, const QString &associazione50,
                       const QString &descrizione50, int delta, bool givingBack, bool *matched)
{
    bool done = false, outOfRange = false;
    const Outcome o = registers::fromRewrite(archive::rewriteFiltered(
        folder.set(archive::Register::Attrezzature), format(), archive::startingWith(associazione50),
        [&](const Record &r, RecordSink &sink) {
            if (done || !registers::sameColumn(r.at(Associazione), associazione50)
                || !registers::sameColumn(r.at(Descrizione), descrizione50))
                return Step::Keep;
            done = true;
            const int q = r.number(Quantita) + delta;
            if (q < -32768 || q > 32767) {
                outOfRange = true;
                return Step::Abort;
            }
            Record changed = r;
            changed.values[Quantita] = static_cast<qint16>(q);
            if (q == 0) changed.fields[Stato] = QStringLiteral("A");
            else if (givingBack) changed.fields[Stato] = QStringLiteral("L");
            sink.copy(changed);
            return Step::Drop;
        }));
    if (matched) *matched = done && o.done();
    if (outOfRange) return Outcome::with(Outcome::OutOfRange);
    return o;
}

} // namespace

QList<Item> readAll(const QString &path)
{
    QList<Item> out;
    archive::readRecords(path, format(), [&](const Record &r) {
        out << Item::from(r);
        return true;
    });
    return out;
}

QStringList descriptionsOf(const QString &path, const QString &associazione)
{
    return registers::descriptionsOf(path, format(), associazione);
}

std::optional<Item> find(const QString &path, const Key &key)
{
    std::optional<Item> found;
    archive::readRecords(path, format(), [&](const Record &r) {
        if (keyOf(r) != key) return true;
        found = Item::from(r);
        return false;
    });
    return found;
}

bool anyOf(const QString &path, const QString &associazione)
{
    return registers::anyOf(path, format(), associazione);
}

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
    return registers::insertByPair(folder.set(archive::Register::Attrezzature), format(), fields);
}

Outcome modify(const archive::WorkingFolder &folder, const Key &key, const QStringList &fields)
{
    return registers::insertByPair(folder.set(archive::Register::Attrezzature), format(), fields,
                                   [&](const Record &r) { return keyOf(r) == key; });
}

Outcome remove(const archive::WorkingFolder &folder, const Key &key)
{
    if (!find(folder.path(archive::File::Attrezzature), key))
        return Outcome::with(Outcome::NotFound);
    return registers::fromRewrite(archive::rewrite(
        folder.set(archive::Register::Attrezzature), format(),
        [&](const Record &r, RecordSink &) { return keyOf(r) == key ? Step::Drop : Step::Keep; }));
}

Outcome renameAssociation(const archive::WorkingFolder &folder, const QString &from,
                          const QString &to)
{
    return registers::renameAssociation(folder.set(archive::Register::Attrezzature), format(),
                                        from, to);
}

Outcome removeOfAssociation(const archive::WorkingFolder &folder, const QString &associazione)
{
    return registers::removeOfAssociation(folder.set(archive::Register::Attrezzature), format(),
                                          associazione);
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
