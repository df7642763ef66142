#include "doubles.h"

namespace {
bool isBusy(BusyCursor *b)
{
    auto *f = dynamic_cast<FakeBusyCursor *>(b);
    return f && f->depth > 0;
}
} // namespace

template <class T> T FakePrompts::answer(Shown shownNow, QQueue<T> &queue)
{
    shown << shownNow;
    busyAtPrompt << isBusy(busy);
    if (queue.isEmpty()) return ++unexpected, T();
    return queue.dequeue();
}

void FakePrompts::info(const QString &text)
{
    shown << Shown{Shown::Info, text, {}, {}};
    busyAtPrompt << isBusy(busy);
}

bool FakePrompts::question(const QString &text) { return answer(Shown{Shown::Question, text, {}, {}}, answers); }

QString FakePrompts::openFile(const QString &title, const QString &folder, const QString &filter)
{
    return answer(Shown{Shown::OpenFile, title, folder, filter}, files);
}

QString FakePrompts::saveFile(const QString &title, const QString &folder, const QString &filter)
{
    return answer(Shown{Shown::SaveFile, title, folder, filter}, files);
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
    if (refuse) return false;
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
    if (refuse) return false;
    jobs << Job{QString(), 0, orientation, {}, true, true};
    return true;
}
