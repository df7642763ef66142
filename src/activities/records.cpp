#include "activities/records.h"

#include "archive/rewrite.h"
#include "archive/text.h"

#include <QFile>

using archive::Record;
using archive::RecordSink;
using archive::RewriteOutcome;
using archive::Step;

namespace activities {

const archive::RecordFormat &activityFormat()
{
    static const archive::RecordFormat f{12, {NumProt}};
    return f;
}

QStringList activityFields(const ActivityInput &in)
{
    auto bare = [](const QString &s) { return text::blankSeparators(s); };
    auto caps = [](const QString &s) { return text::clean(s, true); };
    return {bare(in.numprot), bare(in.datari),
            bare(in.orari),   bare(in.datain),
            bare(in.orain),   bare(in.datafi),
            bare(in.orafi),   caps(in.tipoatt),
            caps(in.loc),     caps(in.ric),
            caps(in.note),    in.orafi.isEmpty() ? QStringLiteral("A") : QStringLiteral("C")};
}

QString stateWord(const QString &code)
{
    if (code == QLatin1String("A")) return QStringLiteral("Aperta");
    if (code == QLatin1String("C")) return QStringLiteral("Chiusa");
    if (code == QLatin1String("S")) return QStringLiteral("Annullata");
    return {};
}

namespace {

QString resourceKeyPart(const QString &s) { return text::fit(s, 50); }

// True when list line `l` goes before record `r` in an ordered insert for
// activity n.
bool goesBefore(qint16 n, const QString &l, const Record &r)
{
    const qint16 rn = r.number(RNumProt);
    if (rn < n) return false;
    if (rn > n) return true;
    const QString lt = l.mid(0, 4);
    const int ct = text::compareCode(lt, r.at(RTipo));
    if (ct > 0) return false;
    if (ct == 0) {
        const int ca = text::compareCode(l.mid(14, 50), resourceKeyPart(r.at(RAssociazione)));
        if (ca > 0) return false;
        if (ca == 0 && text::compareCode(l.mid(64, 50), resourceKeyPart(r.at(RDescrizione))) > 0)
            return false;
    }
    return true;
}

} // namespace

std::optional<Record> findActivity(const QString &attivitaPath, qint16 n)
{
    std::optional<Record> found;
    archive::readRecordsKeyed(
        attivitaPath, activityFormat(), [n](qint16 k) { return k == n; },
        [&](const Record &r) {
            if (r.number(NumProt) != n) return true;
            found = r;
            return false;
        });
    return found;
}

Outcome insertActivity(const archive::WorkingFolder &folder, const QStringList &fields, qint16 n)
{
    return replaceActivity(folder, fields, n, std::nullopt);
}

Outcome removeActivity(const archive::WorkingFolder &folder, qint16 n)
{
    return archive::fromRewrite(archive::rewriteKeyed(
        folder.set(archive::Register::Attivita), activityFormat(), [&](qint16 k) { return k == n; },
        [&](const Record &r, RecordSink &) {
            return r.number(NumProt) == n ? Step::Drop : Step::Keep;
        }));
}

Outcome removeResources(const archive::WorkingFolder &folder, qint16 n)
{
    return archive::fromRewrite(archive::rewriteKeyed(
        folder.set(archive::Register::Risorse), resourceFormat(), [&](qint16 k) { return k == n; },
        [&](const Record &r, RecordSink &) {
            return r.number(RNumProt) == n ? Step::Drop : Step::Keep;
        }));
}

Outcome cancelActivity(const archive::WorkingFolder &folder, qint16 n)
{
    return archive::fromRewrite(archive::rewriteKeyed(
        folder.set(archive::Register::Attivita), activityFormat(), [&](qint16 k) { return k == n; },
        [&](const Record &r, RecordSink &sink) {
            if (r.number(NumProt) != n) return Step::Keep;
            Record changed = r;
            changed.fields[Stato] = QStringLiteral("S");
            sink.copy(changed);
            return Step::Drop;
        }));
}

QStringList resourceFields(const QString &nText, const QString &listLine, const QString &state)
{
    const resources::Resource r = resources::partsOf(listLine);
    return {nText, r.tipo, r.numero, r.associazione, r.descrizione, state};
}

Outcome insertResourceLine(const archive::WorkingFolder &folder, const QString &nText, qint16 n,
                           const QString &listLine, const QString &state)
{
    const QString l = text::fit(listLine, resources::kLineWidth);
    const QStringList fields = resourceFields(nText, l, state);
    bool inserted = false;
    return archive::fromRewrite(archive::rewriteKeyed(
        folder.set(archive::Register::Risorse), resourceFormat(),
        [&](qint16 k) { return !inserted && k >= n; },
        [&](const Record &r, RecordSink &sink) {
            if (!inserted && goesBefore(n, l, r)) {
                sink.writeTyped(fields);
                inserted = true;
            }
            return Step::Keep;
        },
        [&](RecordSink &sink) {
            if (!inserted) sink.writeTyped(fields);
        }));
}

Outcome replaceActivity(const archive::WorkingFolder &folder, const QStringList &fields, qint16 n,
                        std::optional<qint16> replacing)
{
    bool inserted = false;
    return archive::fromRewrite(archive::rewriteKeyed(
        folder.set(archive::Register::Attivita), activityFormat(),
        [&](qint16 k) { return k == replacing || (!inserted && k >= n); },
        [&](const Record &r, RecordSink &sink) {
            const qint16 rn = r.number(NumProt);
            if (rn == replacing) return Step::Drop;
            if (rn == n) return Step::Abort;
            if (rn > n && !inserted) {
                sink.writeTyped(fields);
                inserted = true;
            }
            return Step::Keep;
        },
        [&](RecordSink &sink) {
            if (!inserted) sink.writeTyped(fields);
        }));
}

Outcome insertResourceLines(const archive::WorkingFolder &folder, const QString &nText, qint16 n,
                            const QStringList &listLines, const QStringList &states,
                            std::optional<qint16> replacing)
{
    if (listLines.isEmpty()) return replacing ? removeResources(folder, *replacing) : Outcome{};
    // The lines added, from one window: an int, as `order` below holds them.
    const int added = static_cast<int>(listLines.size());

    // The lines as they stand after their own pass (typed form) and after
    // any later pass (copied form), with the record they read back as.
    struct NewLine {
        QString cut;
        QByteArray typed;
        Record read;
    };
    QVector<NewLine> news;
    for (int i = 0; i < added; ++i) {
        NewLine nl;
        nl.cut = text::fit(listLines.at(i), resources::kLineWidth);
        bool ok = false;
        const QString state = i < states.size() ? states.at(i) : QStringLiteral("O");
        nl.typed = archive::typedForm(resourceFields(nText, nl.cut, state), &ok);
        if (!ok) {
            return Outcome::failed(archive::IoResult::fail(archive::IoResult::WriteFailed,
                                                           folder.path(archive::File::Risorse)));
        }
        nl.read = archive::parseRecord(nl.typed, resourceFormat());
        news << nl;
    }

    // Only the stretch from the first record numbered n or more up to the
    // first record numbered more than n can take new lines; that stretch is
    // held in memory and the passes are played on it.
    struct Entry {
        Record kept; // a line of the archive, damaged or not
    };
    std::vector<Entry> region;
    bool inRegion = false, regionClosed = false;

    auto playInserts = [&](RecordSink &sink) {
        // Places every new line as its own pass would, then writes the stretch.
        std::vector<int> order; // region indexes: >=0 existing, <0 -(fresh+1)
        for (size_t i = 0; i < region.size(); ++i) order.push_back(static_cast<int>(i));
        for (int j = 0; j < added; ++j) {
            size_t at = order.size();
            for (size_t p = 0; p < order.size(); ++p) {
                const int o = order[p];
                const Record &r = o >= 0 ? region[o].kept : news[-o - 1].read;
                if (r.damaged) continue;
                if (goesBefore(n, news[j].cut, r)) {
                    at = p;
                    break;
                }
            }
            order.insert(order.begin() + static_cast<long>(at), -(j + 1));
        }
        for (int o : order) {
            if (o >= 0) {
                const Record &r = region[o].kept;
                if (r.damaged) sink.writeRaw(r.raw);
                else sink.copy(r);
            } else {
                const int j = -o - 1;
                if (j == added - 1) sink.writeRaw(news[j].typed);
                else sink.copy(news[j].read);
            }
        }
        region.clear();
    };

    auto outcome = archive::rewriteKeyed(
        folder.path(archive::File::Risorse), folder.path(archive::File::RisorseWrk), resourceFormat(),
        [&](qint16 k) { return (replacing && k == *replacing) || (!regionClosed && k >= n); },
        [&](const Record &r, RecordSink &sink) {
            if (replacing && !r.damaged && r.number(RNumProt) == *replacing) return Step::Drop;
            if (regionClosed) return Step::Keep;
            if (r.damaged) {
                if (!inRegion) return Step::Keep;
                Entry e;
                e.kept = r;
                region.push_back(e);
                return Step::Drop;
            }
            const qint16 rn = r.number(RNumProt);
            if (!inRegion && rn >= n) inRegion = true;
            if (!inRegion) return Step::Keep;
            Entry e;
            e.kept = r;
            region.push_back(e);
            if (rn > n) {
                playInserts(sink);
                regionClosed = true;
            }
            return Step::Drop;
        },
        [&](RecordSink &sink) {
            if (!regionClosed) playInserts(sink);
        },
        true);
    return archive::fromRewrite(outcome);
}

resources::Resource resourceOf(const Record &r)
{
    return {r.at(RTipo), r.at(RNumero), r.at(RAssociazione), r.at(RDescrizione)};
}

QString resourceListLine(const Record &r) { return resources::lineOf(resourceOf(r)); }

QStringList resourceLinesOf(const QString &risorsePath, qint16 n)
{
    QStringList out;
    archive::readRecordsKeyed(
        risorsePath, resourceFormat(), [n](qint16 k) { return k == n; },
        [&](const Record &r) {
            if (r.number(RNumProt) == n) out << resourceListLine(r);
            return true;
        });
    return out;
}

qint16 highestNumber(const QString &attivitaPath)
{
    std::optional<qint16> highest;
    archive::readRecords(attivitaPath, activityFormat(), [&](const Record &r) {
        if (!highest || r.number(NumProt) > *highest) highest = r.number(NumProt);
        return true;
    });
    return highest.value_or(0);
}

Outcome releaseResources(const archive::WorkingFolder &folder, qint16 n, bool alreadyClosed,
                         const GiveBack &giveBack)
{
    return archive::fromRewrite(archive::rewriteKeyed(
        folder.set(archive::Register::Risorse), resourceFormat(), [&](qint16 k) { return k == n; },
        [&](const Record &r, RecordSink &sink) {
            if (r.number(RNumProt) != n || r.at(RStato) == QLatin1String("L")) return Step::Keep;
            if (!alreadyClosed && giveBack && !giveBack(r)) return Step::Keep;
            Record changed = r;
            changed.fields[RStato] = QStringLiteral("L");
            sink.copy(changed);
            return Step::Drop;
        }));
}

} // namespace activities
