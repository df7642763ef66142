#include "session/snapshot.h"

namespace snapshot {

using archive::IoResult;
using archive::Register;

IoResult copiainsav(const archive::WorkingFolder &folder, Register r)
{
    const auto set = folder.set(r);
    return archive::copyLines(set.archive, set.snapshot);
}

IoResult copiadasav(const archive::WorkingFolder &folder, Register r)
{
    const auto set = folder.set(r);
    return archive::copyLines(set.snapshot, set.archive);
}

bool take(Context &ctx, std::initializer_list<Register> registers)
{
    // Consultation only: nothing changes, so there is nothing to roll back.
    if (ctx.consultation) return true;
    BusyGuard busy(*ctx.platform.busy);
    QStringList failures;
    for (Register r : registers) {
        const IoResult res = copiainsav(ctx.folder, r);
        if (!res.ok() && res.status != IoResult::SourceMissing) failures << res.message();
    }
    busy.release();
    for (const QString &m : failures) ctx.platform.prompts->info(m);
    return failures.isEmpty();
}

bool takeRegisters(Context &ctx)
{
    return take(ctx, {Register::Associazioni, Register::Attrezzature, Register::Automezzi});
}

} // namespace snapshot
