#include "resources/unregistered.h"

#include "archive/journal.h"
#include "registers/holdings.h"
#include "resources/operations.h"


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

QString undoLeftUnregistered(const archive::WorkingFolder &folder, bool endedAbnormally)
{
    const QList<Unregistered> left = readUnregistered(folder);
    if (left.isEmpty()) return {};
    // The registers and sospese.dat change together: what is undone is never
    // undone again at a later start.
    archive::Transaction tx(folder);
    const UndoReport report = undo(folder, left);
    saveUnregistered(folder, report.kept);
    const archive::IoResult io = tx.commit();
    // Left by an abnormal end, or by an undo that could not be written when
    // the program was last left normally.
    const QString why = endedAbnormally
                            ? QStringLiteral("Il programma non era stato chiuso normalmente")
                            : QStringLiteral("Alla chiusura precedente non era stato possibile "
                                             "rimettere com'erano le risorse impegnate o restituite "
                                             "per una attività mai registrata");
    QStringList parts;
    if (!io.ok()) {
        parts << why
                     + (endedAbnormally ? QStringLiteral(" e le risorse impegnate o restituite per "
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
                     + (endedAbnormally ? QStringLiteral(": le risorse impegnate o restituite per "
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

} // namespace resources
