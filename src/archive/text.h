#pragma once

#include <QString>
#include <initializer_list>
#include <optional>
#include <utility>

// Text rules shared by every register: capitals, comparison by character code,
// fixed columns, the cleaning of typed texts and the two written forms of the
// 16-bit whole numbers.
namespace text {

// Capitals character by character, so a text never changes length.
QString capitals(const QString &s);

// Compares by the Windows-1252 byte values (a character the encoding cannot
// hold sorts after every byte, by its code). Negative, zero or positive.
int compareCode(const QString &a, const QString &b);

// `s` padded with blanks or cut to exactly `width` characters.
QString fit(const QString &s, qsizetype width);

// `s` right-aligned in `width` characters (never cut).
QString alignRight(const QString &s, int width);

// Texts set over fixed columns, such as the headings of a list: each starts
// at its index (0 for the first column), or one blank after the text before
// it when that one leaves no blank before the index.
QString atColumns(std::initializer_list<std::pair<int, QString>> texts);

// Commas, line breaks (and, with `quotesToo`, double quotes) become blanks,
// and the text is put in capitals. Nothing else changes.
QString clean(const QString &s, bool quotesToo = true);

// Commas, double quotes and line breaks become blanks; letters stay as typed.
QString blankSeparators(const QString &s);

// A 16-bit signed whole number as written by a reader-friendly rewrite:
// a blank (or the minus sign), the digits, a blank.
QString numberForm(int value);

// Reads a 16-bit signed whole number in either written form: blanks around it
// are skipped, an optional sign, then digits only. Anything else, or a value
// outside -32768..32767, gives nothing.
std::optional<qint16> parseNumber(const QString &s);

// Reads a typed number for a field that holds a whole number: like
// parseNumber, but a fraction is rounded to the nearest whole number, a tie
// to the even one. Used where typing a decimal is allowed.
std::optional<qint16> parseRounded(const QString &s);

} // namespace text
