#include "session/maintenance.h"

#include "session/context.h"
#include "session/settings.h"
#include "archive/io.h"
#include "archive/paths.h"

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
};

// The archives that a reset empties, in the order asked.
const Emptied kReset[] = {
    {"Azzero l'archivio Associazioni?", File::Associazioni},
    {"Azzero l'archivio Volontari?", File::Volontari},
    {"Azzero l'archivio Automezzi?", File::Automezzi},
    {"Azzero l'archivio Attrezzature?", File::Attrezzature},
    {"Azzero l'archivio numero protocollo?", File::NumeroProt},
    {"Azzero l'archivio Attività?", File::Attivita},
    {"Azzero l'archivio Risorse?", File::Risorse},
};

const QString kAnyFile = QStringLiteral("*.*");

enum class Direction { Save, Restore };

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
            io = saving ? archive::copyLines(archive, chosen) : archive::copyLines(chosen, archive);
        }
        if (!io.ok()) {
            QString told = (saving ? QStringLiteral("Salvataggio non riuscito. ")
                                   : QStringLiteral("Ripristino non riuscito. "))
                           + io.message();
            // The backup could not be written: the archive itself is safe.
            if (saving && io.status == archive::IoResult::WriteFailed)
                told += QStringLiteral(" L'archivio %1 non è cambiato.").arg(archive::fileName(a.file));
            prompts.info(told);
            return;
        }
        prompts.info(QString::fromUtf8(saving ? a.saved : a.restored));
    }
}

} // namespace

void save(Context &ctx) { copySequence(ctx, Direction::Save); }

void restore(Context &ctx) { copySequence(ctx, Direction::Restore); }

void reset(Context &ctx)
{
    Prompts &prompts = *ctx.platform.prompts;
    if (!prompts.question(QStringLiteral("L'azzeramento svuoterà gli archivi attuali. Continuo?")))
        return;
    for (const Emptied &e : kReset) {
        if (!prompts.question(QString::fromUtf8(e.question))) continue;
        const QString path = ctx.path(e.file);
        archive::IoResult io;
        {
            BusyGuard busy(*ctx.platform.busy);
            if (e.file == File::NumeroProt) {
                io = settings::writeCounter(path, 0);
                if (io.ok()) ctx.g.ultimoprot = 0;
            } else {
                io = archive::replaceFile(path, QByteArray());
            }
        }
        // A file that cannot be emptied is named; the others still follow.
        if (!io.ok()) prompts.info(QStringLiteral("Azzeramento non riuscito. ") + io.message());
    }
    prompts.info(QStringLiteral("Azzeramento archivi richiesti effettuato."));
}

} // namespace maintenance
