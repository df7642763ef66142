#include "vehicles/records.h"

#include "archive/rewrite.h"
#include "archive/text.h"

using archive::Record;
using archive::RecordSink;
using archive::Step;
using registers::Outcome;

namespace vehicles {

const archive::RecordFormat &format()
{
    static const archive::RecordFormat f{9, {}};
    return f;
}

const archive::RecordFormat &Vehicle::format() { return vehicles::format(); }

Vehicle Vehicle::from(const Record &r)
{
    return {r.at(Associazione), r.at(Descrizione), r.at(Campo), r.at(DataArrivo),
            r.at(OraArrivo), r.at(DataPartenza), r.at(OraPartenza), r.at(Specializzazione),
            r.at(Stato)};
}

namespace {

Key keyOf(const QStringList &fields) { return {fields.at(Associazione), fields.at(Descrizione)}; }

// Positions count from 1, as the user reads the text.
QString part(const QString &s, int from, int count) { return s.mid(from - 1, count); }
bool charIs(const QString &s, int pos, QChar c) { return s.size() >= pos && s[pos - 1] == c; }
int cmp(const QString &a, const char *b) { return text::compareCode(a, QString::fromLatin1(b)); }

bool dateFormWrong(const QString &d)
{
    return d.isEmpty() || !charIs(d, 3, QLatin1Char('/')) || !charIs(d, 6, QLatin1Char('/'))
        || cmp(part(d, 1, 2), "31") > 0 || cmp(part(d, 4, 2), "12") > 0
        || cmp(part(d, 7, 4), "1000") < 0;
}

bool timeFormWrong(const QString &t)
{
    return t.isEmpty() || !charIs(t, 3, QLatin1Char('.')) || cmp(part(t, 1, 2), "23") > 0
        || cmp(part(t, 4, 2), "59") > 0;
}

// Year, then month, then day, each compared as text.
bool dateBefore(const QString &a, const QString &b)
{
    for (const auto &[from, count] : {std::pair{7, 4}, std::pair{4, 2}, std::pair{1, 2}}) {
        const int c = text::compareCode(part(a, from, count), part(b, from, count));
        if (c != 0) return c < 0;
    }
    return false;
}

} // namespace

bool controllodata(const Times &t, Which which)
{
    if (which == Which::Arrivo) return dateFormWrong(t.dataar);
    if (t.datapa.isEmpty()) return false;
    return dateFormWrong(t.datapa) || dateBefore(t.datapa, t.dataar);
}

bool controllora(const Times &t, Which which)
{
    if (which == Which::Arrivo) return timeFormWrong(t.oraar);
    if (t.orapa.isEmpty()) return false;
    return timeFormWrong(t.orapa)
        || (t.datapa == t.dataar && text::compareCode(t.orapa, t.oraar) < 0);
}

QStringList recordFields(const Input &in)
{
    using registers::keyText;
    using registers::recordText;
    return {keyText(in.associazione),        keyText(in.descrizione),
            recordText(in.campo),            text::blankSeparators(in.dataar),
            text::blankSeparators(in.oraar), text::blankSeparators(in.datapa),
            text::blankSeparators(in.orapa), recordText(in.note),
            registers::stateLetter(in.stato)};
}

QString check(const Input &in)
{
    const QStringList f = recordFields(in);
    const Times t{f.at(DataArrivo), f.at(OraArrivo), f.at(DataPartenza), f.at(OraPartenza)};
    if (f.at(Associazione).isEmpty()) return QStringLiteral("Manca denominazione Associazione.");
    if (controllodata(t, Which::Arrivo)) return QStringLiteral("Data arrivo errata.");
    if (controllora(t, Which::Arrivo)) return QStringLiteral("Ora arrivo errata.");
    if (controllodata(t, Which::Partenza)) return QStringLiteral("Data partenza errata.");
    if (controllora(t, Which::Partenza)) return QStringLiteral("Ora partenza errata.");
    if (in.stato.isEmpty()) return QStringLiteral("Manca stato.");
    if (!registers::isStateLetter(f.at(Stato))) return QStringLiteral("Stato non previsto.");
    return registers::refusalOf(f);
}

Outcome insert(const archive::WorkingFolder &folder, const QStringList &fields)
{
    return registers::insertOrdered(folder.set(archive::Register::Automezzi), format(), fields, 2);
}

Outcome modify(const archive::WorkingFolder &folder, const Key &key, const QStringList &fields)
{
    const Key k = keyOf(fields);
    const QString path = folder.path(archive::File::Automezzi);
    bool found = false, taken = false;
    // A damaged line is no record to change, but its key is taken.
    registers::eachLine(path, format(), [&](const Record &r) {
        const Key rk = registers::pairKeyOf(r);
        if (rk == key) found = found || !r.damaged;
        else if (rk == k) taken = true;
        return true;
    });
    if (!found) return Outcome::with(Outcome::NotFound);
    if (taken) return Outcome::with(Outcome::Duplicate);
    return registers::fromRewrite(archive::rewrite(
        folder.set(archive::Register::Automezzi), format(), [&](const Record &r, RecordSink &sink) {
            if (registers::pairKeyOf(r) != key) return Step::Keep;
            sink.writeTyped(fields);
            return Step::Drop;
        }));
}

Outcome setState(const archive::WorkingFolder &folder, const QString &associazione50,
                 const QString &descrizione50, const QString &stato, bool *matched)
{
    return registers::changeFirstPair(folder.set(archive::Register::Automezzi), format(),
                                      associazione50, descrizione50,
                                      [&](Record &changed) {
                                          changed.fields[Stato] = stato;
                                          return true;
                                      },
                                      matched);
}

} // namespace vehicles
