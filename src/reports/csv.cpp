#include "reports/csv.h"

#include <QRegularExpression>

namespace reports::csv {

QString field(const QString &value)
{
    // A text a spreadsheet would take for a formula is kept as text.
    static const QRegularExpression number(QStringLiteral("^[+-]?[0-9]+([.,][0-9]+)?$"));
    if (!value.isEmpty() && QStringLiteral("=+-@\t\r").contains(value.front())
        && !number.match(value).hasMatch())
        return field(QLatin1Char('\'') + value);
    bool quote = !value.isEmpty()
                 && (value.front() == QLatin1Char(' ') || value.back() == QLatin1Char(' '));
    for (const QChar c : value) {
        if (c == QLatin1Char(',') || c == QLatin1Char('"') || c == QLatin1Char('\r')
            || c == QLatin1Char('\n')) {
            quote = true;
            break;
        }
    }
    if (!quote) return value;
    QString out = value;
    out.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

QByteArray document(const QStringList &header, const QList<QStringList> &rows)
{
    QString text;
    auto line = [&](const QStringList &fields) {
        for (int i = 0; i < fields.size(); ++i) {
            if (i) text += QLatin1Char(',');
            text += field(fields.at(i));
        }
        text += QLatin1String("\r\n");
    };
    line(header);
    for (const QStringList &r : rows) line(r);
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

} // namespace reports::csv
