// The dates and times as the operators type them: the forms read and how
// they are written in the archives, the forms refused, and the refusals.
#include "dates/dates.h"

#include <QTest>

using Table = QList<std::pair<const char *, const char *>>; // typed, written ("": refused)

class TestDates : public QObject {
    Q_OBJECT
private slots:
    void formsReadAndRefused()
    {
        const Table days{{"08/12/2026", "08/12/2026"}, {"8/2/2026", "08/02/2026"}, {"8/12/26", "08/12/2026"}, {"8.12.2026", "08/12/2026"}, {"8-12-26", "08/12/2026"}, {" 08/12/2026 ", "08/12/2026"}, {"29/02/2028", "29/02/2028"}, {"1/1/00", "01/01/2000"}, {"31/12/9999", "31/12/9999"}, {"31/02/2026", ""}, {"29/02/2025", ""}, {"31/04/2026", ""}, {"00/00/2026", ""}, {"32/01/2026", ""}, {"01/13/2026", ""}, {"", ""}, {" ", ""}, {"08122026", ""}, {"08/12", ""}, {"8/12-2026", ""}, {"08/12/202", ""}, {"01/01/0999", ""}, {"08/12/2026xyz", ""}, {"+8/12/2026", ""}, {"08,12,2026", ""}, {"٠٨/١٢/٢٠٢٦", ""}};
        for (const auto &[typed, written] : days) {
            const QString t = QString::fromUtf8(typed), w = QString::fromUtf8(written);
            QVERIFY2(dates::readDate(t).has_value() == !w.isEmpty() && dates::normalDate(t) == (w.isEmpty() ? t : w), typed);
        }
        const Table times{{"14.05", "14.05"}, {"00.00", "00.00"}, {"23.59", "23.59"}, {"9.30", "09.30"}, {"14:05", "14.05"}, {"1405", "14.05"}, {"930", "09.30"}, {"14", "14.00"}, {"0", "00.00"}, {" 14.05 ", "14.05"}, {"24.00", ""}, {"25.99", ""}, {"23.60", ""}, {"2400", ""}, {"24", ""}, {"960", ""}, {"", ""}, {"9.5", ""}, {"14.005", ""}, {"14.05.00", ""}, {"14,05", ""}, {"14h05", ""}, {"140500", ""}, {".30", ""}, {"14.", ""}, {"-1", ""}};
        for (const auto &[typed, written] : times) {
            const QString t = QString::fromUtf8(typed), w = QString::fromUtf8(written);
            QVERIFY2(dates::readTime(t).has_value() == !w.isEmpty() && dates::normalTime(t) == (w.isEmpty() ? t : w), typed);
        }
        // The refusals name the field and the form, the clock's day and time as the example.
        const QDateTime now(QDate(2026, 12, 8), QTime(14, 5));
        QCOMPARE(dates::wrongDate("Data inizio", now), QString("Data inizio errata: scrivere GG/MM/AAAA, per esempio 08/12/2026."));
        QCOMPARE(dates::wrongTime("Ora inizio", now), QString("Ora inizio errata: scrivere hh.mm, da 00.00 a 23.59, per esempio 14.05."));
    }
};

QTEST_GUILESS_MAIN(TestDates)
#include "tst_dates.moc"
