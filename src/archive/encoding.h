#pragma once

#include <QByteArray>
#include <QString>

// Text encoding of the archives on disk: Windows-1252. A line that is valid
// UTF-8 and holds multi-byte sequences (a volunteer file prepared with another
// program, for instance) is read as UTF-8; everything the program writes is
// Windows-1252.
namespace cp1252 {

QString decode(const QByteArray &bytes);

// Encodes `text`; on a character that Windows-1252 cannot hold, `ok` is set to
// false and the result is empty.
QByteArray encode(const QString &text, bool *ok = nullptr);

bool canEncode(const QString &text);

// Index of the first character that Windows-1252 cannot hold, or -1.
int firstUnencodable(const QString &text);

// A clear message refusing a text with a character that Windows-1252
// cannot hold (empty when the text can be written).
QString refusal(const QString &text);

// The byte that holds `c`, or -1 when there is none.
int byteOf(QChar c);

// Reads one archive line: UTF-8 when the line is valid UTF-8 with at least
// one multi-byte sequence, Windows-1252 otherwise. `wasUtf8` tells which.
QString decodeLine(const QByteArray &line, bool *wasUtf8 = nullptr);

} // namespace cp1252
