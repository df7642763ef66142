#include "app/snapshot.h"

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

namespace {

bool run(Context &ctx, std::initializer_list<Register> registers,
         IoResult (*copy)(const archive::WorkingFolder &, Register))
{
    // Consultation only: nothing changes, so there is nothing to roll back.
    if (ctx.consultation) return true;
    BusyGuard busy(*ctx.platform.busy);
    QStringList failures;
    for (Register r : registers) {
        const IoResult res = copy(ctx.folder, r);
        if (!res.ok() && res.status != IoResult::SourceMissing) failures << res.message();
    }
    busy.release();
    for (const QString &m : failures) ctx.platform.prompts->info(m);
    return failures.isEmpty();
}

} // namespace

bool take(Context &ctx, std::initializer_list<Register> registers)
{
    return run(ctx, registers, &copiainsav);
}

bool takeRegisters(Context &ctx)
{
    return take(ctx, {Register::Associazioni, Register::Attrezzature, Register::Automezzi});
}

} // namespace snapshot
