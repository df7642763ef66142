#include "session/maintenance.h"

#include "session/context.h"
#include "session/settings.h"
#include "archive/diary.h"
#include "archive/io.h"
#include "archive/journal.h"
#include "archive/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>

using archive::File;

namespace maintenance {
namespace {

struct Archive {
    File file;
    const char *saveQuestion;
    const char *restoreQuestion;
    const char *dialogTitle;
    const char *saved;
    const char *restored;
};

// The six archives that are saved and restored, in the order offered.
const Archive kArchives[] = {
    {File::Associazioni, "Salvo l'archivio associazioni?", "Ripristino l'archivio associazioni?",
     "Archivio Associazioni", "Archivio Associazioni salvato.", "Archivio Associazioni ripristinato."},
    {File::Attrezzature, "Salvo l'archivio Attrezzature?", "Ripristino l'archivio Attrezzature?",
     "Archivio Attrezzature", "Archivio Attrezzature salvato.", "Archivio Attrezzature ripristinato."},
    {File::Automezzi, "Salvo l'archivio Automezzi?", "Ripristino l'archivio Automezzi?",
     "Archivio Automezzi", "Archivio Automezzi salvato.", "Archivio Automezzi ripristinato."},
    {File::Attivita, "Salvo l'archivio Attività?", "Ripristino l'archivio Attività?",
     "Archivio Attività", "Archivio Attività salvato.", "Archivio Attività ripristinato."},
    {File::Risorse, "Salvo l'archivio Risorse di Attività?",
     "Ripristino l'archivio Risorse di Attività?", "Archivio Risorse di attività",
     "Archivio Risorse di Attività salvato.", "Archivio Risorse di Attività ripristinato."},
    {File::NumeroProt, "Salvo l'archivio Numero protocollo?",
     "Ripristino l'archivio Numero protocollo?", "Archivio Numero Protocollo",
     "Archivio Numero protocollo salvato.", "Archivio Numero protocollo ripristinato."},
};

struct Emptied {
    const char *question;
    File file;
    const char *name; // as the closing message names it
};

// The archives that a reset empties, in the order asked.
const Emptied kReset[] = {
    {"Azzero l'archivio Associazioni?", File::Associazioni, "Associazioni"},
    {"Azzero l'archivio Volontari?", File::Volontari, "Volontari"},
    {"Azzero l'archivio Automezzi?", File::Automezzi, "Automezzi"},
    {"Azzero l'archivio Attrezzature?", File::Attrezzature, "Attrezzature"},
    {"Azzero l'archivio numero protocollo?", File::NumeroProt, "Numero protocollo"},
    {"Azzero l'archivio Attività?", File::Attivita, "Attività"},
    {"Azzero l'archivio Risorse?", File::Risorse, "Risorse"},
};

const QString kAnyFile = QStringLiteral("*.*");

// Resources the activity window took or gave back and has not registered:
// they go back to the registers record by record when the window is left, so
// replacing the registers under them would count them twice, and a backup
// taken meanwhile holds registers that do not match its resource lines. Then
// the sequence is refused before anything is asked or written.
// What a desk's window holds unregistered, by whatever desk: the message
// that refuses `sequence` (empty when nothing is held).
// Whether a desk file holds a change ("P," or "R," lines; the line that
// names the desk is none).
bool holdsChanges(const QString &path)
{
    QFile f(archive::readPath(path));
    if (!f.open(QIODevice::ReadOnly)) return false;
    archive::LineReader reader(&f);
    QByteArray line;
    while (reader.next(line))
        if (line.startsWith("P,") || line.startsWith("R,")) return true;
    return false;
}

QString heldMessage(Context &ctx, const QString &sequence)
{
    QStringList desks;
    bool here = holdsChanges(ctx.folder.deskFile());
    for (const QString &file : ctx.folder.deskFiles()) {
        if (file == ctx.folder.deskFile() || !holdsChanges(file)) continue;
        if (const auto owner = archive::deskFileOwner(file)) desks << owner->hostId;
        else desks << QFileInfo(file).fileName();
    }
    if (!here && desks.isEmpty()) return {};
    QString where = here ? QStringLiteral("nella finestra Attività") : QString();
    if (!desks.isEmpty())
        where += (here ? QStringLiteral(" e ") : QString())
                 + QStringLiteral("nella finestra Attività della postazione %1")
                       .arg(desks.join(QStringLiteral(", ")));
    return QStringLiteral("%1 non eseguito: %2 ci sono risorse impegnate o restituite e non "
                          "ancora registrate. Registrare l'attività o uscirne con \"Esci\", poi "
                          "ripetere.")
        .arg(sequence, where);
}

bool heldUnregistered(Context &ctx, const QString &sequence)
{
    const QString held = heldMessage(ctx, sequence);
    if (held.isEmpty()) return false;
    ctx.platform.prompts->info(held);
    return true;
}

// Replaces one archive by `write`, under the change lock, only while no
// desk holds resources unregistered: the check made before the questions
// is made again where no other desk can take anything meanwhile.
archive::IoResult whileNothingHeld(Context &ctx, const QString &sequence,
                                   const std::function<archive::IoResult()> &write)
{
    archive::Transaction tx(ctx.folder);
    const QString held = heldMessage(ctx, sequence);
    if (!held.isEmpty()) {
        archive::IoResult refused = archive::IoResult::fail(archive::IoResult::Busy, QString());
        refused.told = held;
        return refused;
    }
    const archive::IoResult io = write();
    const archive::IoResult committed = tx.commit();
    return io.ok() ? committed : io;
}

enum class Direction { Save, Restore };

// The diary `saved` (as read with the archives) beside the copies of the
// archives in `copyFolder`, whole; nothing when the working folder has none.
archive::IoResult saveDiary(const Context &ctx, const QString &saved, const QString &copyFolder)
{
    const QString target = QDir(copyFolder).filePath(diary::kFileName);
    QFile in(saved);
    if (!in.open(QIODevice::ReadOnly) || ctx.folder.isOwnFile(target)) return {};
    return archive::replaceFile(target, in.readAll());
}

// One sequence of save or restore. The copy goes through a temporary file
// that replaces its target whole, and the source is opened before the target
// is touched: a failure leaves the target exactly as it was. A cancelled
// dialog ends the sequence without a word; a copy that fails is told (with
// the file it concerns) and ends the sequence too. One of the folder's own
// files is refused as the backup or as the file restored from, and the
// dialog is shown again.
void copySequence(Context &ctx, Direction direction)
{
    Prompts &prompts = *ctx.platform.prompts;
    const QString folder = ctx.folder.dir();
    // A save copies the archives as they all stood at one moment, read
    // together under the change lock, whatever other desks register while
    // the questions are answered.
    QTemporaryDir together;
    if (direction == Direction::Save) {
        archive::Transaction tx(ctx.folder);
        for (const Archive &a : kArchives)
            if (QFileInfo::exists(ctx.path(a.file)))
                QFile::copy(ctx.path(a.file), together.filePath(archive::fileName(a.file)));
        // The diary goes with them, as it stood then.
        QFile::copy(diary::path(ctx.folder), together.filePath(diary::kFileName));
        tx.commit();
    }
    QStringList diaryCopied; // the folders given the diary
    for (const Archive &a : kArchives) {
        const bool saving = direction == Direction::Save;
        if (!prompts.question(QString::fromUtf8(saving ? a.saveQuestion : a.restoreQuestion)))
            continue;
        const QString title = QString::fromUtf8(a.dialogTitle);
        // Never a backup over, nor a restore from, one of the program's own
        // files: the dialog comes back for another.
        QString chosen;
        for (;;) {
            chosen = saving ? prompts.saveFile(title, folder, kAnyFile)
                            : prompts.openFile(title, folder, kAnyFile);
            if (chosen.isEmpty()) return;
            if (!ctx.folder.isOwnFile(chosen)) break;
            prompts.info(saving ? archive::ownFileAsDestination(chosen)
                                : archive::ownFileAsSource(chosen));
        }
        const QString archive = ctx.path(a.file);
        archive::IoResult io;
        {
            BusyGuard busy(*ctx.platform.busy);
            const QString read = together.filePath(archive::fileName(a.file));
            const QString copyFolder = QFileInfo(chosen).absolutePath();
            if (saving) {
                io = archive::copyLines(QFileInfo::exists(read) ? read : archive, chosen);
                if (io.ok() && !diaryCopied.contains(copyFolder)) {
                    io = saveDiary(ctx, together.filePath(diary::kFileName), copyFolder);
                    diaryCopied << copyFolder;
                }
            } else {
                io = whileNothingHeld(ctx, QStringLiteral("Ripristino"), [&] {
                    const archive::IoResult copied = archive::copyLines(chosen, archive);
                    if (!copied.ok()) return copied;
                    // The copy's diary comes in only where it is the longer.
                    diary::restoreFrom(ctx.folder, copyFolder);
                    diary::record(ctx.folder, diary::kArchives, {},
                                  QStringLiteral("Archivio %1 ripristinato dalla copia %2.")
                                      .arg(archive::fileName(a.file),
                                           QDir::toNativeSeparators(chosen)));
                    return copied;
                });
            }
        }
        if (!io.ok()) {
            QString told = (saving ? QStringLiteral("Salvataggio non riuscito. ")
                                   : QStringLiteral("Ripristino non riuscito. "))
                           + io.message();
            // The backup could not be written: the archive itself is safe.
            if (saving && io.status == archive::IoResult::WriteFailed)
                told +=
                    QStringLiteral(" L'archivio %1 non è cambiato.").arg(archive::fileName(a.file));
            prompts.info(told);
            return;
        }
        prompts.info(QString::fromUtf8(saving ? a.saved : a.restored));
    }
}

} // namespace

void save(Context &ctx)
{
    // A backup of registers from which pieces are taken for lines not yet in
    // risorse.csv would, restored, lose those pieces for good.
    if (heldUnregistered(ctx, QStringLiteral("Salvataggio"))) return;
    copySequence(ctx, Direction::Save);
}

void restore(Context &ctx)
{
    if (heldUnregistered(ctx, QStringLiteral("Ripristino"))) return;
    copySequence(ctx, Direction::Restore);
}

void reset(Context &ctx)
{
    Prompts &prompts = *ctx.platform.prompts;
    if (heldUnregistered(ctx, QStringLiteral("Azzeramento"))) return;
    if (!prompts.question(QStringLiteral("L'azzeramento svuoterà gli archivi attuali. Continuo?")))
        return;
    QStringList emptied, kept, why;
    for (const Emptied &e : kReset) {
        if (!prompts.question(QString::fromUtf8(e.question))) continue;
        const QString path = ctx.path(e.file);
        archive::IoResult io;
        {
            BusyGuard busy(*ctx.platform.busy);
            io = whileNothingHeld(ctx, QStringLiteral("Azzeramento"), [&] {
                const archive::IoResult done = e.file == File::NumeroProt
                                                   ? settings::writeCounter(path, 0)
                                                   : archive::replaceFile(path, QByteArray());
                // The diary is never emptied: it tells of the reset.
                if (done.ok())
                    diary::record(ctx.folder, diary::kArchives, {},
                                  QStringLiteral("Archivio %1 azzerato: inizia una nuova emergenza.")
                                      .arg(archive::fileName(e.file)));
                return done;
            });
            if (io.ok() && e.file == File::NumeroProt) ctx.g.ultimoprot = 0;
        }
        // A file that cannot be emptied is named at the end; the others still follow.
        (io.ok() ? emptied : kept) << QString::fromUtf8(e.name);
        if (!io.ok() && !why.contains(io.message())) why << io.message();
    }
    if (kept.isEmpty()) {
        prompts.info(QStringLiteral("Azzeramento archivi richiesti effettuato."));
        return;
    }
    const QString none = QStringLiteral("nessuno");
    prompts.info(QStringLiteral("Azzeramento non completo.\nArchivi svuotati: %1.\nArchivi rimasti "
                                "com'erano: %2.\n\n%3")
                     .arg(emptied.isEmpty() ? none : emptied.join(QStringLiteral(", ")),
                          kept.join(QStringLiteral(", ")), why.join(QLatin1Char('\n'))));
}

} // namespace maintenance
