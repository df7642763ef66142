#include "archive/record.h"

#include "archive/encoding.h"
#include "archive/text.h"

namespace archive {
namespace {

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

QString stripped(const QString &s, int b, int e)
{
    while (b < e && isBlank(s[b])) ++b;
    while (e > b && isBlank(s[e - 1])) --e;
    return s.mid(b, e - b);
}

} // namespace

Record parseRecord(const QByteArray &line, const RecordFormat &format)
{
    Record r;
    r.raw = line;
    const QString s = cp1252::decodeLine(line, &r.utf8);
    r.fields.reserve(format.count);
    // Every item stands bare (texts) or in number form (numbers) while this
    // holds; numbers are checked once their values are known.
    bool bare = true;
    int start = 0;
    for (int i = 0; i <= s.size(); ++i) {
        if (i == s.size() || s[i] == QLatin1Char(',')) {
            // No more items so far than characters before i, an int.
            const int index = static_cast<int>(r.fields.size());
            r.fields << stripped(s, start, i);
            if (bare && !format.isNumber(index) && r.fields.last().size() != i - start)
                bare = false;
            start = i + 1;
        }
    }
    if (r.fields.size() > format.count) r.damaged = true;
    while (r.fields.size() < format.count) r.fields << QString();
    r.values.fill(0, format.count);
    // An empty line is no record: rewrites keep it as an empty line.
    if (line.isEmpty()) r.damaged = true;
    for (int idx : format.numbers) {
        const auto v = text::parseNumber(r.fields.value(idx));
        if (!v) {
            r.damaged = true;
            continue;
        }
        r.values[idx] = *v;
    }
    if (bare && !r.damaged && !r.utf8) {
        // Numbers: the item between its commas must read " 12 " or "-5 ".
        int item = 0, b = 0;
        for (int i = 0; i <= s.size() && bare; ++i) {
            if (i == s.size() || s[i] == QLatin1Char(',')) {
                if (format.isNumber(item))
                    bare = QStringView(s).mid(b, i - b) == text::numberForm(r.values.at(item));
                ++item;
                b = i + 1;
            }
        }
        r.copyFormRaw = bare;
    }
    return r;
}

QByteArray copyForm(const Record &r, const RecordFormat &format)
{
    if (r.damaged) return r.raw;
    QString line;
    for (int i = 0; i < format.count; ++i) {
        if (i) line += QLatin1Char(',');
        line += format.isNumber(i) ? text::numberForm(r.values.at(i)) : r.fields.at(i);
    }
    bool ok = false;
    QByteArray out = cp1252::encode(line, &ok);
    if (!ok) out = line.toUtf8();
    return out;
}

QByteArray typedForm(const QStringList &fields, bool *ok)
{
    return cp1252::encode(fields.join(QLatin1Char(',')), ok);
}

} // namespace archive
