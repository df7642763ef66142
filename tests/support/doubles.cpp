#include "doubles.h"


namespace {
bool isBusy(BusyCursor *b)
{
    auto *f = dynamic_cast<FakeBusyCursor *>(b);
    return f && f->depth > 0;
}
} // namespace

void FakePrompts::info(const QString &text)
{
    shown << Shown{Shown::Info, text, {}, {}};
    busyAtPrompt << isBusy(busy);
}

bool FakePrompts::question(const QString &text)
{
    shown << Shown{Shown::Question, text, {}, {}};
    busyAtPrompt << isBusy(busy);
    if (answers.isEmpty()) {
        ++unexpected;
        return false;
    }
    return answers.dequeue();
}

QString FakePrompts::openFile(const QString &title, const QString &folder, const QString &filter)
{
    shown << Shown{Shown::OpenFile, title, folder, filter};
    busyAtPrompt << isBusy(busy);
    if (files.isEmpty()) {
        ++unexpected;
        return {};
    }
    return files.dequeue();
}

QString FakePrompts::saveFile(const QString &title, const QString &folder, const QString &filter)
{
    shown << Shown{Shown::SaveFile, title, folder, filter};
    busyAtPrompt << isBusy(busy);
    if (files.isEmpty()) {
        ++unexpected;
        return {};
    }
    return files.dequeue();
}

QStringList FakePrompts::texts() const
{
    QStringList out;
    for (const auto &s : shown) out << s.text;
    return out;
}

QStringList FakePrompts::messages() const
{
    QStringList out;
    for (const auto &s : shown)
        if (s.kind == Shown::Info) out << s.text;
    return out;
}

QStringList FakePrompts::questions() const
{
    QStringList out;
    for (const auto &s : shown)
        if (s.kind == Shown::Question) out << s.text;
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
