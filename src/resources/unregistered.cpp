#include "resources/unregistered.h"

#include "archive/changelock.h"
#include "archive/diary.h"
#include "archive/disk.h"
#include "archive/journal.h"
#include "registers/holdings.h"
#include "resources/operations.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>


namespace resources {

QString unregisteredPath(const archive::WorkingFolder &folder)
{
    return registers::unregisteredPath(folder);
}

archive::IoResult saveUnregistered(const archive::WorkingFolder &folder,
                                   const QList<Unregistered> &changes)
{
    QList<registers::UnregisteredChange> lines;
    for (const Unregistered &u : changes)
        lines << registers::UnregisteredChange{u.line, u.givenBack};
    return registers::writeUnregistered(folder, lines);
}

QList<Unregistered> readUnregistered(const archive::WorkingFolder &folder)
{
    QList<Unregistered> out;
    for (const registers::UnregisteredChange &c : registers::readUnregistered(folder))
        out << Unregistered{c.line, c.givenBack, 0};
    return out;
}

QString UndoReport::missingMessage() const
{
    if (missing.isEmpty()) return {};
    QStringList lines;
    for (const QString &m : missing) lines << QStringLiteral("- ") + m;
    return QStringLiteral("Queste risorse non sono state rimesse com'erano prima delle modifiche "
                          "non registrate, perché non si trovano più negli archivi (eliminate o "
                          "rinominate nel frattempo):\n")
           + lines.join(QLatin1Char('\n'));
}

UndoReport undo(const archive::WorkingFolder &folder, const QList<Unregistered> &changes)
{
    UndoReport report;
    for (auto u = changes.crbegin(); u != changes.crend(); ++u) {
        const Outcome o = u->givenBack ? retakeLine(folder, u->line) : giveBackLine(folder, u->line);
        if (!resources::ok(o)) {
            report.failures << archive::messageOf(o);
            report.kept.prepend(*u);
        } else if (o.status == archive::Outcome::NotFound) {
            report.missing << describeLine(u->line);
        } else {
            report.undone << describeLine(u->line);
        }
    }
    return report;
}

namespace {

int g_silence = 600;

// The desk a desk file names on its first line, or by its name.
std::optional<archive::Desk> deskOf(const QString &path)
{
    if (auto d = archive::Desk::fromLine(archive::readFirstLine(path))) return d;
    const auto owner = archive::deskFileOwner(path);
    if (!owner) return std::nullopt;
    archive::Desk d;
    d.host = owner->hostId;
    d.pid = owner->pid;
    d.suffix = owner->suffix;
    return d;
}

QList<Unregistered> changesIn(const QString &path)
{
    QList<Unregistered> out;
    for (const registers::UnregisteredChange &c : registers::readUnregisteredFile(path))
        out << Unregistered{c.line, c.givenBack, 0};
    return out;
}

} // namespace

void setDeskSilence(int seconds) { g_silence = seconds; }

bool stoppedDesk(const archive::WorkingFolder &folder, const QString &path)
{
    if (path == folder.deskFile()) return false;
    const std::optional<archive::Desk> d = deskOf(path);
    // The file of a copy that let one copy write at a time.
    if (!d) return true;
    const archive::Desk &here = folder.desk();
    if (d->hostId() == here.hostId())
        return d->pid != here.pid && !archive::disk::processRunning(d->pid);
    return archive::ageInFolder(folder.dir(), path, here) > g_silence;
}

QStringList otherDesks(const archive::WorkingFolder &folder)
{
    QStringList out;
    for (const QString &file : folder.deskFiles()) {
        if (file == folder.deskFile() || stoppedDesk(folder, file)) continue;
        const std::optional<archive::Desk> d = deskOf(file);
        out << (d->user.isEmpty() ? d->host : d->name());
    }
    return out;
}

void tellUndone(const archive::WorkingFolder &folder, const UndoReport &report, const QString &desk)
{
    if (report.undone.isEmpty()) return;
    const QString window = desk.isEmpty()
                               ? QStringLiteral("nella finestra Attività")
                               : QStringLiteral("nella finestra Attività della postazione %1, "
                                                "che si era fermata,")
                                     .arg(desk);
    diary::record(folder, diary::kActivity, {},
                  QStringLiteral("Rimesse com'erano le risorse impegnate o restituite %1 e mai "
                                 "registrate: %2.")
                      .arg(window, report.undone.join(QStringLiteral("; "))));
}

QString undoLeftUnregistered(const archive::WorkingFolder &folder, bool endedAbnormally)
{
    const QString own = folder.deskFile();
    QStringList stopped;
    for (const QString &file : folder.deskFiles())
        if (file != own && stoppedDesk(folder, file)) stopped << file;
    if (readUnregistered(folder).isEmpty()) {
        bool any = false;
        for (const QString &file : stopped) any = any || !changesIn(file).isEmpty();
        if (!any) {
            for (const QString &file : stopped) QFile::remove(file);
            return {};
        }
    }
    // The registers and the desk files change together: what is undone is
    // never undone again at a later start.
    archive::Transaction tx(folder);
    for (const QString &file : stopped) tx.cover(file);
    UndoReport report;
    bool others = false;
    QStringList files = stopped;
    files << own;
    for (const QString &file : files) {
        const QList<Unregistered> left = changesIn(file);
        if (left.isEmpty()) continue;
        others = others || file != own;
        const UndoReport r = undo(folder, left);
        const std::optional<archive::Desk> desk = file != own ? deskOf(file) : std::nullopt;
        tellUndone(folder, r,
                   file == own ? QString()
                   : desk      ? desk->name()
                               : QFileInfo(file).fileName());
        report.failures << r.failures;
        report.missing << r.missing;
        report.undone << r.undone;
        QList<registers::UnregisteredChange> kept;
        for (const Unregistered &u : r.kept)
            kept << registers::UnregisteredChange{u.line, u.givenBack};
        registers::writeUnregisteredFile(file, kept);
    }
    const archive::IoResult io = tx.commit();
    if (io.ok())
        for (const QString &file : stopped)
            if (changesIn(file).isEmpty()) QFile::remove(file);
    // Left by an abnormal end, or by an undo that could not be written when
    // the program was last left normally.
    const QString why = endedAbnormally || others
                            ? QStringLiteral("Il programma non era stato chiuso normalmente")
                            : QStringLiteral("Alla chiusura precedente non era stato possibile "
                                             "rimettere com'erano le risorse impegnate o restituite "
                                             "per una attività mai registrata");
    const bool abnormal = endedAbnormally || others;
    QStringList parts;
    if (!io.ok()) {
        parts << why
                     + (abnormal ? QStringLiteral(" e le risorse impegnate o restituite per "
                                                  "una attività mai registrata non possono "
                                                  "essere rimesse com'erano ora")
                                 : QStringLiteral(" e non lo è neanche ora"))
                     + QStringLiteral("; il programma riproverà.")
              << io.message();
        return parts.join(QStringLiteral("\n\n"));
    }
    if (!report.undone.isEmpty()) {
        QStringList lines;
        for (const QString &d : report.undone) lines << QStringLiteral("- ") + d;
        parts << why
                     + (abnormal ? QStringLiteral(": le risorse impegnate o restituite per "
                                                  "una attività mai registrata sono state "
                                                  "rimesse com'erano:\n")
                                 : QStringLiteral(": ora sono state rimesse com'erano:\n"))
                     + lines.join(QLatin1Char('\n'));
    }
    parts << report.failures;
    if (!report.missing.isEmpty()) parts << report.missingMessage();
    parts.removeAll(QString());
    return parts.join(QStringLiteral("\n\n"));
}

QString startDesk(const archive::WorkingFolder &folder)
{
    const QString told = undoLeftUnregistered(folder);
    const QString own = folder.deskFile();
    // The desk's own file names it, for the other desks; made once and
    // for all (a desk that stopped leaves it to be found).
    QByteArray text = folder.desk().line() + "\r\n";
    QFile existing(own);
    if (existing.open(QIODevice::ReadOnly)) {
        archive::LineReader reader(&existing);
        QByteArray line;
        while (reader.next(line))
            if (!archive::Desk::fromLine(line)) text += line + "\r\n";
    }
    existing.close();
    archive::replaceFile(own, text);
    registers::deskFileMade(own);
    return told;
}

void endDesk(const archive::WorkingFolder &folder)
{
    if (readUnregistered(folder).isEmpty()) QFile::remove(folder.deskFile());
}

void deskAlive(const archive::WorkingFolder &folder)
{
    QFile f(folder.deskFile());
    if (f.open(QIODevice::ReadWrite))
        f.setFileTime(QDateTime::currentDateTimeUtc(), QFileDevice::FileModificationTime);
}

} // namespace resources
