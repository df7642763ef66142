#include "archive/outcome.h"

#include "archive/rewrite.h"

namespace archive {

Outcome fromRewrite(const RewriteOutcome &o)
{
    Outcome r;
    switch (o.status) {
    case RewriteOutcome::Done: r.status = Outcome::Done; break;
    case RewriteOutcome::Aborted: r.status = Outcome::Duplicate; break;
    case RewriteOutcome::Failed: r.status = Outcome::Failed; break;
    }
    r.io = o.io;
    return r;
}

QString messageOf(const Outcome &o, const QString &duplicate, const QString &notFound)
{
    switch (o.status) {
    case Outcome::Done: return {};
    case Outcome::Duplicate: return duplicate;
    case Outcome::NotFound: return notFound;
    case Outcome::OutOfRange:
        if (o.reason.isEmpty())
            return QStringLiteral("Il numero supera i limiti ammessi (da -32768 a 32767).");
        return o.reason;
    case Outcome::Refused: return o.reason;
    case Outcome::Failed: return o.io.message();
    }
    return {};
}

} // namespace archive
