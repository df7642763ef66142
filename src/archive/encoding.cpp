#include "archive/encoding.h"

namespace cp1252 {
namespace {

// Characters of the bytes 0x80 to 0x9F. The five bytes that Windows-1252
// leaves undefined map to the control characters of the same value, so that
// any byte sequence reads and writes back unchanged.
const char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool undefinedHigh(char16_t u)
{
    return u == 0x81 || u == 0x8D || u == 0x8F || u == 0x90 || u == 0x9D;
}

// Length of the valid UTF-8 sequence starting at `i`, or 0.
int utf8SequenceAt(const QByteArray &b, int i)
{
    const auto c = static_cast<unsigned char>(b[i]);
    int len = 0;
    uint32_t cp = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
        cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        cp = c & 0x07;
    } else return 0;
    if (i + len > b.size()) return 0;
    for (int k = 1; k < len; ++k) {
        const auto cc = static_cast<unsigned char>(b[i + k]);
        if ((cc & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (cc & 0x3F);
    }
    if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF))
        || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

} // namespace

int byteOf(QChar ch)
{
    const char16_t u = ch.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return u;
    if (undefinedHigh(u)) return u;
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == u) return 0x80 + i;
    return -1;
}

QString decode(const QByteArray &bytes)
{
    QString out;
    out.resize(bytes.size());
    QChar *d = out.data();
    for (int i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        d[i] = (c >= 0x80 && c <= 0x9F) ? QChar(kHigh[c - 0x80]) : QChar(c);
    }
    return out;
}

QByteArray encode(const QString &text, bool *ok)
{
    QByteArray out;
    out.resize(text.size());
    char *d = out.data();
    for (int i = 0; i < text.size(); ++i) {
        const int b = byteOf(text[i]);
        if (b < 0) {
            if (ok) *ok = false;
            return {};
        }
        d[i] = static_cast<char>(b);
    }
    if (ok) *ok = true;
    return out;
}

int firstUnencodable(const QString &text)
{
    for (int i = 0; i < text.size(); ++i)
        if (byteOf(text[i]) < 0) return i;
    return -1;
}

bool canEncode(const QString &text) { return firstUnencodable(text) < 0; }

QString refusal(const QString &text)
{
    const int i = firstUnencodable(text);
    if (i < 0) return {};
    QString ch = text.mid(i, 1);
    if (text[i].isHighSurrogate() && i + 1 < text.size()) ch = text.mid(i, 2);
    return QStringLiteral("Il carattere \"%1\" non può essere registrato negli archivi. "
                          "Sostituirlo e riprovare.")
        .arg(ch);
}

QString decodeLine(const QByteArray &line, bool *wasUtf8)
{
    bool multiByte = false;
    for (int i = 0; i < line.size(); ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        if (c < 0x80) continue;
        const int len = utf8SequenceAt(line, i);
        if (len == 0) {
            multiByte = false;
            break;
        }
        multiByte = true;
        i += len - 1;
    }
    if (wasUtf8) *wasUtf8 = multiByte;
    return multiByte ? QString::fromUtf8(line) : decode(line);
}

} // namespace cp1252
