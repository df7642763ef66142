#include "registers/holdings.h"

#include "archive/encoding.h"
#include "archive/io.h"
#include "archive/journal.h"
#include "archive/rewrite.h"
#include "archive/text.h"
#include "registers/registers.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
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

// The desk of a desk file, for a message: its computer.
QString deskOfFile(const QString &path)
{
    // As the desk names itself on the file's first line: computer and user.
    if (const auto desk = archive::Desk::fromLine(archive::readFirstLine(path)))
        return desk->name();
    const auto owner = archive::deskFileOwner(path);
    return owner ? owner->hostId : QFileInfo(path).fileName();
}

} // namespace

const archive::RecordFormat &resourceFormat()
{
    static const archive::RecordFormat f{6, {RNumProt}};
    return f;
}

QString unregisteredPath(const archive::WorkingFolder &folder) { return folder.deskFile(); }

QList<UnregisteredChange> readUnregistered(const archive::WorkingFolder &folder)
{
    return readUnregisteredFile(unregisteredPath(folder));
}

QList<UnregisteredChange> readUnregisteredFile(const QString &path)
{
    QList<UnregisteredChange> out;
    QFile f(archive::readPath(path));
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

namespace {

QSet<QString> &madeDeskFiles()
{
    static QSet<QString> made;
    return made;
}

} // namespace

void deskFileMade(const QString &path) { madeDeskFiles().insert(path); }

bool deskFileTaken(const archive::WorkingFolder &folder)
{
    const QString path = unregisteredPath(folder);
    return madeDeskFiles().contains(path) && !QFileInfo::exists(archive::readPath(path));
}

QString deskFileTakenMessage()
{
    return QStringLiteral("Quello che la finestra Attività di questa postazione aveva preso o "
                          "restituito senza registrarlo è già stato rimesso com'era da un'altra "
                          "postazione, che l'ha creduta chiusa: nulla è stato scritto. Uscire "
                          "dall'attività con \"Esci\" e riaprirla.");
}

archive::IoResult writeUnregistered(const archive::WorkingFolder &folder,
                                    const QList<UnregisteredChange> &changes)
{
    if (deskFileTaken(folder)) {
        archive::IoResult taken = archive::IoResult::fail(archive::IoResult::Busy,
                                                          unregisteredPath(folder));
        taken.told = deskFileTakenMessage();
        if (archive::Transaction *tx = archive::Transaction::covering(taken.path))
            return tx->prepared(taken.path, {}, taken);
        return taken;
    }
    return writeUnregisteredFile(unregisteredPath(folder), changes);
}

archive::IoResult writeUnregisteredFile(const QString &path, const QList<UnregisteredChange> &changes)
{
    // Nothing to keep, and nothing kept: no need to write.
    if (changes.isEmpty() && readUnregisteredFile(path).isEmpty())
        return archive::IoResult::success();
    // The line that names the desk stays first.
    QByteArray bytes = archive::readFirstLine(archive::readPath(path));
    if (archive::Desk::fromLine(bytes)) bytes += "\r\n";
    else bytes.clear();
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
    for (const QString &desk : desks) {
        if (!out.isEmpty()) out += QStringLiteral(" e ");
        out += QStringLiteral("nella finestra Attività della postazione %1 (non ancora registrata)")
                   .arg(desk);
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
    // What a desk's window took is held until it is registered or undone; a
    // line it gave back still stands engaged in risorse.csv until then.
    const QString own = unregisteredPath(folder);
    QStringList files = folder.deskFiles();
    files.removeAll(own);
    files << own;
    for (const QString &file : files) {
        const bool mine = file == own;
        for (const UnregisteredChange &c : readUnregisteredFile(file)) {
            if (c.givenBack) continue;
            const QString line = text::fit(c.line, 114);
            if (!holds(line.left(4), line.mid(kAssociationAt, 50), line.mid(kDescriptionAt, 50),
                       types, association, description))
                continue;
            if (mine) h.unregistered = true;
            else if (!h.desks.contains(deskOfFile(file))) h.desks << deskOfFile(file);
        }
    }
    return h;
}

namespace {

// The other desks whose file holds an unregistered change of `types` of
// `association` (and `description`, when not null), given back only when
// `givenBackOnly`.
QStringList otherDesksChanging(const archive::WorkingFolder &folder, const QStringList &types,
                               const QString &association, const QString &description,
                               bool givenBackOnly)
{
    QStringList desks;
    const QString own = unregisteredPath(folder);
    for (const QString &file : folder.deskFiles()) {
        if (file == own) continue;
        for (const UnregisteredChange &c : readUnregisteredFile(file)) {
            const QString line = text::fit(c.line, 114);
            if ((c.givenBack || !givenBackOnly)
                && holds(line.left(4), line.mid(kAssociationAt, 50), line.mid(kDescriptionAt, 50),
                         types, association, description)
                && !desks.contains(deskOfFile(file)))
                desks << deskOfFile(file);
        }
    }
    return desks;
}

} // namespace

QStringList vehicleGivenBackElsewhere(const archive::WorkingFolder &folder,
                                      const QString &association, const QString &description)
{
    return otherDesksChanging(folder, {kHeldVehicle}, association, description, true);
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

    // What another desk's window took or gave back is that desk's: it cannot
    // follow a new name it does not know of, and its undo would look for the
    // old one.
    const QStringList desks = otherDesksChanging(folder,
                                                 {kHeldEquipment, kHeldVehicle, kHeldVolunteers},
                                                 from, QString(), false);
    if (!desks.isEmpty())
        return archive::Outcome::refused(
            archive::Outcome::Refused,
            QStringLiteral("L'associazione %1 ha risorse prese o restituite nella finestra Attività "
                           "della postazione %2 e non ancora registrate: non può essere rinominata "
                           "finché quella postazione non registra o abbandona l'attività. Nessun "
                           "archivio è stato modificato.")
                .arg(from, desks.join(QStringLiteral(", "))));
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
