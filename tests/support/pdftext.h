#pragma once

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTest>

// The poppler tools are Linux programs: on Windows a test sees that the PDF was written, then skips.
#ifdef Q_OS_WIN
#define SKIP_PDF_TEXT_ON_WINDOWS(pdf)                                         \
    QFile written(pdf);                                                       \
    QVERIFY(written.open(QIODevice::ReadOnly) && written.read(5) == "%PDF-"); \
    QSKIP("pdftotext is a Linux tool: the PDF's text is checked on Linux")
#else
#define SKIP_PDF_TEXT_ON_WINDOWS(pdf)
#endif

// What a printout written to PDF shows, read back with the poppler tools.
struct PdfText {
    bool ok = false;
    bool landscape = false;
    int pages = 0;
    QStringList lines; // pdftotext -layout, blanks at the line ends dropped
    double points = 0; // font size, from the width of the longest word
                       // (fixed pitch: every character is 0.6 em wide)
};

inline PdfText readPdf(const QString &pdf)
{
    const auto run = [](const QString &tool, const QStringList &args) {
        QProcess p;
        p.start(tool, args);
        return p.waitForFinished(30000) ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
    };
    PdfText out;
    const QString info = run("pdfinfo", {pdf});
    const auto size = QRegularExpression("Page size:\\s+([\\d.]+) x ([\\d.]+)").match(info);
    if (!size.hasMatch()) return out;
    out.pages = QRegularExpression("Pages:\\s+(\\d+)").match(info).captured(1).toInt();
    out.landscape = size.captured(1).toDouble() > size.captured(2).toDouble();
    out.lines = run("pdftotext", {"-layout", pdf, "-"}).split('\n');
    for (QString &l : out.lines) {
        l.remove(QChar('\f'));
        while (l.endsWith(' ')) l.chop(1);
    }
    while (!out.lines.isEmpty() && out.lines.last().isEmpty()) out.lines.removeLast();
    const QRegularExpression word(
        "<word xMin=\"([\\d.]+)\" yMin=\"[\\d.]+\" xMax=\"([\\d.]+)\" yMax=\"[\\d.]+\">([^<]+)</word>");
    qsizetype longest = 0;
    for (auto it = word.globalMatch(run("pdftotext", {"-bbox", pdf, "-"})); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(3).size() <= longest) continue;
        longest = m.captured(3).size();
        out.points = (m.captured(2).toDouble() - m.captured(1).toDouble()) / double(longest) / 0.6;
    }
    out.ok = true;
    return out;
}

// Words and their order, not every run of blanks.
inline QStringList simplified(QStringList lines)
{
    for (QString &l : lines) l = l.simplified();
    return lines;
}
