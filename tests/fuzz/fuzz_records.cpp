// Fuzz target: the line reader and the record readers of every register.
#include "activities/records.h"
#include "archive/io.h"
#include "archive/record.h"
#include "archive/rewrite.h"
#include "archive/text.h"
#include "associations/records.h"
#include "equipment/records.h"
#include "vehicles/records.h"

#include <QBuffer>
#include <cstdint>

#include "check.h"

namespace {

void oneLine(const QByteArray &line, const archive::RecordFormat &format)
{
    const archive::Record r = archive::parseRecord(line, format);
    check(r.raw == line);
    check(r.fields.size() >= format.count && r.values.size() == format.count);
    const QByteArray again = archive::copyForm(r, format);
    // A line taken for one in copy form is exactly what copying its record
    // gives, so the rewrites may pass it on without reading it.
    qint16 first = 0;
    if (archive::inCopyForm(line, format, &first)) {
        check(!r.damaged && again == line);
        if (format.isNumber(0)) check(first == r.number(0));
    }
    if (r.damaged) {
        check(again == line && archive::unchangedCopyForm(r, format) == line);
        return;
    }
    for (const QByteArray &copy : {again, archive::unchangedCopyForm(r, format)}) {
        const archive::Record back = archive::parseRecord(copy, format);
        check(!back.damaged && back.values == r.values);
        check(copy != again || back.fields.size() == format.count);
        for (int i = 0; i < format.count; ++i)
            if (!format.isNumber(i)) check(back.fields.at(i) == r.fields.at(i));
    }
    for (int idx : format.numbers) check(text::parseNumber(text::numberForm(r.number(idx))) == r.number(idx));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    archive::LineReader reader(&buffer);
    const archive::RecordFormat *formats[] = {
        &associations::format(), &associations::volunteerFormat(), &vehicles::format(),
        &equipment::format(), &activities::activityFormat(), &activities::resourceFormat()};
    QByteArray line;
    qsizetype total = 0;
    int lines = 0;
    while (reader.next(line)) {
        check(!line.contains('\n') && !line.contains('\r'));
        total += line.size();
        ++lines;
        for (const auto *f : formats) oneLine(line, *f);
        const archive::Record res = archive::parseRecord(line, activities::resourceFormat());
        if (!res.damaged) check(activities::resourceListLine(res).size() >= resources::kLineWidth);
    }
    check(!reader.failed());
    check(total <= bytes.size() && lines <= bytes.size() + 1);
    return 0;
}
