#include "doubles.h"

void FakePrompts::record(const Shown &s)
{
    shown << s;
    auto *b = dynamic_cast<FakeBusyCursor *>(busy);
    busyAtPrompt << (b && b->depth > 0);
}

QStringList FakePrompts::textsOf(int kind) const
{
    QStringList out;
    for (const auto &s : shown)
        if (kind < 0 || s.kind == kind) out << s.text;
    return out;
}

void FakePrompts::clear()
{
    shown.clear();
    busyAtPrompt.clear();
    answers.clear();
    files.clear();
    unexpected = 0;
}

bool RecordingPrinter::begin(const QString &font, int points, Orientation orientation)
{
    jobs << Job{font, points, orientation, {}, false};
    return true;
}

void RecordingPrinter::line(const QString &text)
{
    if (!jobs.isEmpty() && !jobs.last().ended) jobs.last().lines << text;
}

bool RecordingPrinter::end()
{
    if (jobs.isEmpty() || jobs.last().ended) return false;
    jobs.last().ended = true;
    return true;
}

bool RecordingPrinter::page(Orientation orientation, const PagePainter &)
{
    jobs << Job{QString(), 0, orientation, {}, true, true};
    return true;
}
