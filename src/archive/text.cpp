#include "archive/text.h"

#include "archive/encoding.h"

#include <cmath>

namespace text {

QString capitals(const QString &s)
{
    QString out = s;
    for (QChar &c : out) c = c.toUpper();
    return out;
}

int compareCode(const QString &a, const QString &b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        if (a[i] == b[i]) continue;
        int ka = cp1252::byteOf(a[i]);
        int kb = cp1252::byteOf(b[i]);
        if (ka < 0) ka = 0x100 + a[i].unicode();
        if (kb < 0) kb = 0x100 + b[i].unicode();
        return ka < kb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

QString fit(const QString &s, qsizetype width)
{
    if (s.size() >= width) return s.left(width);
    return s + QString(width - s.size(), QLatin1Char(' '));
}

QString alignRight(const QString &s, int width)
{
    if (s.size() >= width) return s;
    return QString(width - s.size(), QLatin1Char(' ')) + s;
}

QString atColumns(std::initializer_list<std::pair<int, QString>> texts)
{
    QString out;
    for (const auto &[column, t] : texts) {
        if (out.size() < column) out += QString(column - out.size(), QLatin1Char(' '));
        else if (!out.isEmpty()) out += QLatin1Char(' ');
        out += t;
    }
    return out;
}

QString blankSeparators(const QString &s)
{
    QString out = s;
    for (QChar &c : out)
        if (c == QLatin1Char(',') || c == QLatin1Char('"') || c == QLatin1Char('\r')
            || c == QLatin1Char('\n'))
            c = QLatin1Char(' ');
    return out;
}

QString clean(const QString &s, bool quotesToo)
{
    QString out = s;
    for (QChar &c : out) {
        if (c == QLatin1Char(',') || c == QLatin1Char('\r') || c == QLatin1Char('\n')
            || (quotesToo && c == QLatin1Char('"')))
            c = QLatin1Char(' ');
        else c = c.toUpper();
    }
    return out;
}

QString numberForm(int value)
{
    if (value < 0)
        return QLatin1Char('-') + QString::number(-static_cast<long>(value)) + QLatin1Char(' ');
    return QLatin1Char(' ') + QString::number(value) + QLatin1Char(' ');
}

namespace {

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

QString stripBlanks(const QString &s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && isBlank(s[b])) ++b;
    while (e > b && isBlank(s[e - 1])) --e;
    return s.mid(b, e - b);
}

} // namespace

std::optional<qint16> parseNumber(const QString &raw)
{
    const QString s = stripBlanks(raw);
    int i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+'))) {
        negative = s[i] == QLatin1Char('-');
        ++i;
    }
    if (i >= s.size()) return std::nullopt;
    long value = 0;
    for (; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
        if (value > 32768) return std::nullopt;
    }
    if (negative) value = -value;
    if (value < -32768 || value > 32767) return std::nullopt;
    return static_cast<qint16>(value);
}

std::optional<qint16> parseRounded(const QString &raw)
{
    if (auto whole = parseNumber(raw)) return whole;
    const QString s = stripBlanks(raw);
    // Decimal with a point or a comma, digits on at least one side.
    int i = 0;
    if (i < s.size() && (s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+'))) ++i;
    int digits = 0, seps = 0;
    for (int k = i; k < s.size(); ++k) {
        if (s[k].isDigit() && s[k].unicode() < 0x80) ++digits;
        else if (s[k] == QLatin1Char('.') || s[k] == QLatin1Char(',')) ++seps;
        else return std::nullopt;
    }
    if (digits == 0 || seps != 1) return std::nullopt;
    QString normal = s;
    normal.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double d = normal.toDouble(&ok);
    if (!ok) return std::nullopt;
    const double r = std::nearbyint(d); // default rounding: to nearest, ties to even
    if (r < -32768.0 || r > 32767.0) return std::nullopt;
    return static_cast<qint16>(r);
}

} // namespace text
