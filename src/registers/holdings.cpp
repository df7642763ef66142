#include "registers/holdings.h"

#include "archive/encoding.h"
#include "archive/io.h"
#include "archive/journal.h"
#include "archive/rewrite.h"
#include "archive/text.h"
#include "registers/registers.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

using archive::Record;
using archive::RecordSink;
using archive::Step;

namespace registers {

namespace {

// The columns of a resource line (1-based 1-4, 15-64, 65-114).
constexpr int kAssociationAt = 14, kDescriptionAt = 64;

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

QList<UnregisteredChange> readUnregistered(const archive::WorkingFolder &folder)
{
    QList<UnregisteredChange> out;
    QFile f(archive::readPath(unregisteredPath(folder)));
    if (!f.open(QIODevice::ReadOnly)) return out;
    archive::LineReader reader(&f);
    QByteArray line;
    while (reader.next(line)) {
        // Anything else is not a change this program wrote.
        if (line.size() < 3 || line.at(1) != ',' || (line.at(0) != 'P' && line.at(0) != 'R'))
            continue;
        out << UnregisteredChange{cp1252::decode(line.mid(2)), line.at(0) == 'R'};
    }
    return out;
}

archive::IoResult writeUnregistered(const archive::WorkingFolder &folder,
                                    const QList<UnregisteredChange> &changes)
{
    const QString path = unregisteredPath(folder);
    // Nothing to keep, and nothing kept: no need to write.
    if (changes.isEmpty() && QFileInfo(archive::readPath(path)).size() == 0)
        return archive::IoResult::success();
    QByteArray bytes;
    for (const UnregisteredChange &c : changes) {
        bytes += c.givenBack ? "R," : "P,";
        bytes += cp1252::encode(c.line);
        bytes += "\r\n";
    }
    return archive::replaceFile(path, bytes);
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
    archive::readRecords(folder.path(archive::File::Risorse), resourceFormat(), [&](const Record &r) {
        if (r.at(RStato) != QLatin1String("L")
            && holds(r.at(RTipo), r.at(RAssociazione), r.at(RDescrizione), types, association,
                     description)
            && !h.activities.contains(r.number(RNumProt)))
            h.activities << r.number(RNumProt);
        return true;
    });
    std::sort(h.activities.begin(), h.activities.end());
    // What the window took is held until it is registered or undone; a line
    // it gave back still stands engaged in risorse.csv until then.
    for (const UnregisteredChange &c : readUnregistered(folder)) {
        if (c.givenBack) continue;
        const QString line = text::fit(c.line, 114);
        if (holds(line.left(4), line.mid(kAssociationAt, 50), line.mid(kDescriptionAt, 50), types,
                  association, description))
            h.unregistered = true;
    }
    return h;
}

QString renamedLine(const QString &line, const QString &from, const QString &to)
{
    if (line.size() <= kAssociationAt || !sameColumn(line.mid(kAssociationAt, 50), from))
        return line;
    QString out = text::fit(line, std::max<qsizetype>(line.size(), kDescriptionAt));
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
    archive::readRecords(folder.path(archive::File::Risorse), resourceFormat(), [&](const Record &r) {
        return !(named = sameColumn(r.at(RAssociazione), from));
    });
    if (named) {
        const archive::Outcome o =
            fromRewrite(archive::rewrite(folder.set(archive::Register::Risorse), resourceFormat(),
                                         [&](const Record &r, RecordSink &sink) {
                                             if (!sameColumn(r.at(RAssociazione), from))
                                                 return Step::Keep;
                                             Record renamed = r;
                                             renamed.fields[RAssociazione] = stored;
                                             sink.copy(renamed);
                                             return Step::Drop;
                                         }));
        if (!o.done()) return o;
    }

    QList<UnregisteredChange> changes = readUnregistered(folder);
    bool changed = false;
    for (UnregisteredChange &c : changes) {
        const QString renamed = renamedLine(c.line, from, to);
        changed = changed || renamed != c.line;
        c.line = renamed;
    }
    if (!changed) return {};
    const archive::IoResult io = writeUnregistered(folder, changes);
    return io.ok() ? archive::Outcome{} : archive::Outcome::failed(io);
}

} // namespace registers
