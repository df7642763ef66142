#include "registers/holdings.h"

#include "archive/encoding.h"
#include "archive/io.h"
#include "archive/journal.h"
#include "archive/rewrite.h"
#include "archive/text.h"
#include "registers/registers.h"

#include <QFile>
#include <algorithm>

using archive::Record;
using archive::RecordSink;
using archive::Step;

namespace registers {

namespace {

// The columns of a resource line (1-based 1-4, 15-64, 65-114).
constexpr int kAssociationAt = 14, kDescriptionAt = 64;

struct Change {
    QByteArray tag; // "P" or "R"
    QString line;
};

// The changes of sospese.dat; lines this program did not write are kept
// as they are.
QList<QByteArray> unregisteredLines(const archive::WorkingFolder &folder)
{
    QList<QByteArray> out;
    QFile f(archive::readPath(unregisteredPath(folder)));
    if (!f.open(QIODevice::ReadOnly)) return out;
    archive::LineReader reader(&f);
    QByteArray line;
    while (reader.next(line)) out << line;
    return out;
}

bool isChange(const QByteArray &line)
{
    return line.size() >= 3 && line.at(1) == ',' && (line.at(0) == 'P' || line.at(0) == 'R');
}

bool holds(const QString &tipo, const QString &association, const QString &description,
           const QStringList &types, const QString &wantedAssociation,
           const QString &wantedDescription)
{
    return types.contains(tipo) && sameColumn(association, wantedAssociation)
           && (wantedDescription.isNull() || sameColumn(description, wantedDescription));
}

} // namespace

const archive::RecordFormat &resourceFormat()
{
    static const archive::RecordFormat f{6, {RNumProt}};
    return f;
}

QString unregisteredPath(const archive::WorkingFolder &folder)
{
    return folder.path(archive::Companion::Unregistered);
}

QString Holders::where() const
{
    QStringList numbers;
    for (qint16 n : activities) numbers << QString::number(n);
    QString out;
    if (numbers.size() == 1) out = QStringLiteral("nell'attività numero %1").arg(numbers.first());
    else if (numbers.size() > 1)
        out = QStringLiteral("nelle attività numero %1").arg(numbers.join(QStringLiteral(", ")));
    if (unregistered) {
        if (!out.isEmpty()) out += QStringLiteral(" e ");
        out += QStringLiteral("nella finestra Attività (non ancora registrata)");
    }
    return out;
}

Holders holdersOf(const archive::WorkingFolder &folder, const QStringList &types,
                  const QString &association, const QString &description)
{
    Holders h;
    archive::readRecords(folder.path(archive::File::Risorse), resourceFormat(),
                         [&](const Record &r) {
                             if (r.at(RStato) != QLatin1String("L")
                                 && holds(r.at(RTipo), r.at(RAssociazione), r.at(RDescrizione),
                                          types, association, description)
                                 && !h.activities.contains(r.number(RNumProt)))
                                 h.activities << r.number(RNumProt);
                             return true;
                         });
    std::sort(h.activities.begin(), h.activities.end());
    // What the window took is held until it is registered or undone; a line
    // it gave back still stands engaged in risorse.csv until then.
    for (const QByteArray &raw : unregisteredLines(folder)) {
        if (!isChange(raw) || raw.at(0) != 'P') continue;
        const QString line = text::fit(cp1252::decode(raw.mid(2)), 114);
        if (holds(line.left(4), line.mid(kAssociationAt, 50), line.mid(kDescriptionAt, 50), types,
                  association, description))
            h.unregistered = true;
    }
    return h;
}

QString renamedLine(const QString &line, const QString &from, const QString &to)
{
    if (line.size() <= kAssociationAt || !sameColumn(line.mid(kAssociationAt, 50), from)) return line;
    QString out = text::fit(line, std::max<int>(line.size(), kDescriptionAt));
    out.replace(kAssociationAt, 50, text::fit(to, 50));
    return out;
}

archive::Outcome carryAssociation(const archive::WorkingFolder &folder, const QString &from,
                                  const QString &to)
{
    // A line holds the name cut to its 50 columns, without the blanks after it.
    QString stored = text::fit(to, 50);
    while (stored.endsWith(QLatin1Char(' '))) stored.chop(1);
    bool named = false;
    archive::readRecords(folder.path(archive::File::Risorse), resourceFormat(),
                         [&](const Record &r) { return !(named = sameColumn(r.at(RAssociazione), from)); });
    if (named) {
        const archive::Outcome o = fromRewrite(archive::rewrite(
            folder.set(archive::Register::Risorse), resourceFormat(), [&](const Record &r, RecordSink &sink) {
                if (!sameColumn(r.at(RAssociazione), from)) return Step::Keep;
                Record renamed = r;
                renamed.fields[RAssociazione] = stored;
                sink.copy(renamed);
                return Step::Drop;
            }));
        if (!o.done()) return o;
    }

    const QList<QByteArray> lines = unregisteredLines(folder);
    QByteArray bytes;
    bool changed = false;
    for (const QByteArray &raw : lines) {
        QByteArray out = raw;
        if (isChange(raw)) {
            const QString line = cp1252::decode(raw.mid(2));
            const QString renamed = renamedLine(line, from, to);
            bool ok = false;
            const QByteArray encoded = cp1252::encode(renamed, &ok);
            if (renamed != line && ok) {
                out = raw.left(2) + encoded;
                changed = true;
            }
        }
        bytes += out + "\r\n";
    }
    if (!changed) return {};
    const archive::IoResult io = archive::replaceFile(unregisteredPath(folder), bytes);
    return io.ok() ? archive::Outcome{} : archive::Outcome::failed(io);
}

} // namespace registers
