#include "registers/registers.h"

#include "archive/diary.h"
#include "archive/encoding.h"
#include "archive/journal.h"
#include "archive/text.h"

#include <QFile>

namespace registers {

bool sameColumn(const QString &stored, const QString &fromLine)
{
    return text::fit(stored, kColumn) == text::fit(fromLine, kColumn);
}

const QStringList &stateEntries()
{
    static const QStringList entries{QStringLiteral("A = Attivo"), QStringLiteral("B = Bloccato"),
                                     QStringLiteral("L = Libero"), QStringLiteral("R = Riposo")};
    return entries;
}

QString stateLetter(const QString &typed) { return text::capitals(typed.left(1)); }

bool isStateLetter(const QString &letter)
{
    return letter.size() == 1 && QStringLiteral("ABLR").contains(letter[0]);
}

QString recordText(const QString &typed) { return text::clean(typed, true); }

QString keyText(const QString &typed)
{
    QString s = recordText(typed);
    qsizetype b = 0, e = s.size();
    auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    while (b < e && blank(s[b])) ++b;
    while (e > b && blank(s[e - 1])) --e;
    return s.mid(b, e - b);
}

QString refusalOf(const QStringList &texts)
{
    for (const QString &t : texts) {
        const QString m = cp1252::refusal(t);
        if (!m.isEmpty()) return m;
    }
    return {};
}

} // namespace registers

namespace registers {

using archive::Record;
using archive::RecordSink;
using archive::Step;

QStringList descriptionsOf(const QString &path, const archive::RecordFormat &format,
                           const QString &associazione)
{
    QStringList out;
    archive::readRecords(path, format, [&](const Record &r) {
        if (r.at(0) == associazione) out << r.at(1);
        return true;
    });
    return out;
}

void eachLine(const QString &path, const archive::RecordFormat &format,
              const std::function<bool(const Record &)> &each)
{
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) return;
    archive::LineReader reader(&in);
    QByteArray line;
    while (reader.next(line))
        if (!line.isEmpty() && !each(archive::parseRecord(line, format))) return;
}

bool anyOf(const QString &path, const archive::RecordFormat &format, const QString &associazione)
{
    bool any = false;
    archive::readRecords(path, format, [&](const Record &r) {
        any = r.at(0) == associazione;
        return !any;
    });
    return any;
}

Outcome renameAssociation(const archive::ArchiveSet &set, const archive::RecordFormat &format,
                          const QString &from, const QString &to)
{
    return fromRewrite(archive::rewrite(set, format, [&](const Record &r, RecordSink &sink) {
        if (r.at(0) != from) return Step::Keep;
        Record renamed = r;
        renamed.fields[0] = to;
        sink.copy(renamed);
        return Step::Drop;
    }));
}

Outcome removeOfAssociation(const archive::ArchiveSet &set, const archive::RecordFormat &format,
                            const QString &associazione)
{
    return fromRewrite(archive::rewrite(set, format, [&](const Record &r, RecordSink &) {
        return r.at(0) == associazione ? Step::Drop : Step::Keep;
    }));
}

Outcome inOneChange(const archive::WorkingFolder &folder, const std::function<Outcome()> &change)
{
    archive::Transaction tx(folder);
    const Outcome o = change();
    if (!o.done()) return o;
    const archive::IoResult io = tx.commit();
    return io.ok() ? o : Outcome::failed(io);
}

Outcome toldInDiary(const archive::WorkingFolder &folder, const Outcome &o, const QString &text)
{
    if (o.done()) diary::record(folder, diary::kRegister, {}, text);
    return o;
}

Outcome whileUnchanged(const archive::WorkingFolder &folder, const QStringList &loaded,
                       const std::function<QStringList()> &stored, const QString &changed,
                       const std::function<Outcome()> &change)
{
    return inOneChange(folder, [&] {
        if (!loaded.isEmpty()) {
            const QStringList now = stored();
            if (!now.isEmpty() && now != loaded) return Outcome::refused(Outcome::Refused, changed);
        }
        return change();
    });
}

Outcome insertOrdered(const archive::ArchiveSet &set, const archive::RecordFormat &format,
                      const QStringList &fields, int keyFields,
                      const std::function<bool(const Record &)> &skip)
{
    // Where `fields` stands against a record: after it (> 0), at the same
    // key (0) or before it (< 0).
    auto against = [&](const Record &r) {
        for (int i = 0; i < keyFields; ++i)
            if (const int c = text::compareCode(fields.at(i), r.at(i))) return c;
        return 0;
    };
    bool inserted = false;
    return fromRewrite(archive::rewrite(
        set.archive, set.work, format,
        [&](const Record &r, RecordSink &sink) {
            // A damaged line keeps its place, and its key stays taken.
            if (r.damaged)
                return !r.raw.isEmpty() && against(r) == 0 && !(skip && skip(r)) ? Step::Abort
                                                                                 : Step::Keep;
            if (skip && skip(r)) return Step::Drop;
            const int c = against(r);
            if (c > 0) return Step::Keep;
            if (c == 0) return Step::Abort;
            if (!inserted) {
                inserted = true;
                sink.writeTyped(fields);
            }
            return Step::Keep;
        },
        [&](RecordSink &sink) {
            if (!inserted) sink.writeTyped(fields);
        },
        true));
}

Outcome changeFirstPair(const archive::ArchiveSet &set, const archive::RecordFormat &format,
                        const QString &associazione50, const QString &descrizione50,
                        const std::function<bool(Record &)> &change, bool *matched)
{
    bool done = false, refused = false;
    const Outcome o = fromRewrite(archive::rewriteFiltered(
        set, format, archive::startingWith(associazione50), [&](const Record &r, RecordSink &sink) {
            if (done || !sameColumn(r.at(0), associazione50) || !sameColumn(r.at(1), descrizione50))
                return Step::Keep;
            done = true;
            Record changed = r;
            if (!change(changed)) {
                refused = true;
                return Step::Abort;
            }
            sink.copy(changed);
            return Step::Drop;
        }));
    if (matched) *matched = done && o.done();
    if (refused) return Outcome::with(Outcome::OutOfRange);
    return o;
}

PairKey pairKeyOf(const Record &r) { return {r.at(0), r.at(1)}; }

QString pairText(const QString &what, const PairKey &key)
{
    return QStringLiteral("%1 %2 dell'associazione %3").arg(what, key.descrizione, key.associazione);
}

std::optional<Record> findPair(const QString &path, const archive::RecordFormat &format,
                               const PairKey &key)
{
    std::optional<Record> found;
    archive::readRecords(path, format, [&](const Record &r) {
        if (pairKeyOf(r) != key) return true;
        found = r;
        return false;
    });
    return found;
}

Outcome removePair(const archive::ArchiveSet &set, const archive::RecordFormat &format,
                   const PairKey &key)
{
    if (!findPair(set.archive, format, key)) return Outcome::with(Outcome::NotFound);
    return fromRewrite(archive::rewrite(set, format, [&](const Record &r, archive::RecordSink &) {
        return pairKeyOf(r) == key ? archive::Step::Drop : archive::Step::Keep;
    }));
}

} // namespace registers
