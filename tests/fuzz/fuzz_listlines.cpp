// Fuzz target: the cutting and padding of list lines and the text rules
// they rest on. The first byte chooses a width; the rest is text.
#include "activities/records.h"
#include "archive/encoding.h"
#include "archive/text.h"
#include "registers/registers.h"

#include <cstdint>

#include "check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0) return 0;
    const auto sign = [](int v) { return (v > 0) - (v < 0); };
    const int width = data[0] % 130;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const QString s = cp1252::decodeLine(bytes);
    const qsizetype half = s.size() / 2;
    const QString a = s.left(half), b = s.mid(half);

    const QString fitted = text::fit(s, width);
    check(fitted.size() == width);
    check(fitted.startsWith(s.left(width)));
    for (qsizetype i = s.size(); i < width; ++i) check(fitted.at(i) == QLatin1Char(' '));
    const QString right = text::alignRight(s, width);
    check(right.size() == std::max<qsizetype>(width, s.size()) && right.endsWith(s));
    check(text::capitals(s).size() == s.size());

    const QString cleaned = text::clean(s);
    check(cleaned.size() == s.size());
    check(!cleaned.contains(QLatin1Char(',')) && !cleaned.contains(QLatin1Char('"'))
          && !cleaned.contains(QLatin1Char('\n')) && !cleaned.contains(QLatin1Char('\r')));
    const QString blanked = text::blankSeparators(s);
    check(blanked.size() == s.size() && !blanked.contains(QLatin1Char(',')));

    check(sign(text::compareCode(a, b)) == -sign(text::compareCode(b, a)));
    check(text::compareCode(s, s) == 0);
    check(registers::sameColumn(s, text::fit(s, registers::kColumn)));

    if (const auto v = text::parseNumber(s)) check(text::parseNumber(text::numberForm(*v)) == *v);
    (void)text::parseRounded(s);

    const QString line = text::fit(s, resources::kLineWidth);
    const QStringList fields = activities::resourceFields(QStringLiteral("7"), line);
    check(fields.size() == 6);
    check(fields.at(3).size() == 50 && fields.at(4).size() == 50);

    bool ok = false;
    const QByteArray encoded = cp1252::encode(s, &ok);
    check(ok == cp1252::canEncode(s));
    check(ok == cp1252::refusal(s).isEmpty());
    if (ok) check(cp1252::decode(encoded) == s);
    return 0;
}
