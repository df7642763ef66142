#include "app/desks.h"

#include "archive/journal.h"
#include "resources/unregistered.h"

#include <QDir>
#include <QFile>

namespace desks {

namespace {

// Whether the folder takes a new file.
bool writable(const QString &dir)
{
    QFile probe(QDir(dir).filePath(QStringLiteral("velmora.lck.") + archive::Desk::current().token
                                   + QStringLiteral(".prova")));
    if (!probe.open(QIODevice::WriteOnly)) return false;
    probe.close();
    probe.remove();
    return true;
}

void consultOnly(Context &ctx)
{
    ctx.consultation = true;
    archive::setConsultationFolder(ctx.folder.dir());
}

} // namespace

QString start(Context &ctx)
{
    Prompts &prompts = *ctx.platform.prompts;
    if (!writable(ctx.folder.dir())) {
        prompts.info(QStringLiteral("La cartella di lavoro %1 non può essere scritta da questa "
                                    "postazione: viene aperta in sola consultazione.")
                         .arg(QDir::toNativeSeparators(ctx.folder.dir())));
        consultOnly(ctx);
        return {};
    }
    const QStringList others = resources::otherDesks(ctx.folder);
    if (!others.isEmpty()) {
        const bool consult = prompts.question(
            QStringLiteral("Nella cartella di lavoro registrano già %1: %2.\n\nOgni postazione può "
                           "registrare; ogni modifica è scritta per intero, una postazione alla "
                           "volta.\n\nAprirla da questa postazione, %3, in sola consultazione?")
                .arg(others.size() == 1 ? QStringLiteral("la postazione")
                                        : QStringLiteral("le postazioni"),
                     others.join(QStringLiteral(", ")), ctx.folder.desk().name()));
        if (consult) {
            consultOnly(ctx);
            return {};
        }
    }
    // A change between archives that a desk left half made is finished or
    // undone before any window reads an archive.
    // What a killed desk was writing when no journal named it yet goes too.
    archive::Transaction settle(ctx.folder);
    if (!settle.failed()) archive::recover(ctx.folder);
    const archive::IoResult settled = settle.commit();
    if (!settled.ok() && settled.status != archive::IoResult::Busy) {
        // Writing on top of a change left half made could lose it: the
        // folder is only consulted until the journal can be finished.
        prompts.info(QStringLiteral("Una modifica degli archivi interrotta non può essere "
                                    "completata: %1\n\nLa cartella viene aperta in sola "
                                    "consultazione.")
                         .arg(settled.message()));
        consultOnly(ctx);
        return {};
    }
    return resources::startDesk(ctx.folder);
}

void end(Context &ctx)
{
    if (!ctx.consultation) resources::endDesk(ctx.folder);
}

QString shownName(const Context &ctx)
{
    if (resources::otherDesks(ctx.folder).isEmpty()) return {};
    return ctx.folder.desk().name();
}

} // namespace desks
