#include "associations/registers.h"

#include "archive/encoding.h"
#include "archive/text.h"

namespace registers {

Outcome fromRewrite(const archive::RewriteOutcome &o)
{
    Outcome r;
    switch (o.status) {
    case archive::RewriteOutcome::Done: r.status = Outcome::Done; break;
    case archive::RewriteOutcome::Aborted: r.status = Outcome::Duplicate; break;
    case archive::RewriteOutcome::Failed: r.status = Outcome::Failed; break;
    }
    r.io = o.io;
    return r;
}

bool sameColumn(const QString &stored, const QString &fromLine)
{
    return text::fit(stored, kColumn) == text::fit(fromLine, kColumn);
}

const QStringList &stateEntries()
{
    static const QStringList entries{QStringLiteral("A = Attivo"), QStringLiteral("B = Bloccato"),
                                     QStringLiteral("L = Libero"), QStringLiteral("R = Riposo")};
    return entries;
}

QString stateLetter(const QString &typed) { return text::capitals(typed.left(1)); }

bool isStateLetter(const QString &letter)
{
    return letter.size() == 1 && QStringLiteral("ABLR").contains(letter[0]);
}

QString recordText(const QString &typed) { return text::clean(typed, true); }

QString keyText(const QString &typed)
{
    QString s = recordText(typed);
    int b = 0, e = s.size();
    auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    while (b < e && blank(s[b])) ++b;
    while (e > b && blank(s[e - 1])) --e;
    return s.mid(b, e - b);
}

QString refusalOf(const QStringList &texts)
{
    for (const QString &t : texts) {
        const QString m = cp1252::refusal(t);
        if (!m.isEmpty()) return m;
    }
    return {};
}

} // namespace registers
