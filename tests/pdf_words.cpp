#include "pdf_words.h"

#include <QProcess>
#include <QRegularExpression>

std::vector<PdfWord> PdfWords(const QString& pdf, int page)
{
    QStringList args{QStringLiteral("-bbox")};
    if (page > 0)
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l") << QString::number(page);
    args << pdf << QStringLiteral("-");
    QProcess p;
    p.start(QStringLiteral("pdftotext"), args);
    std::vector<PdfWord> words;
    if (!p.waitForFinished(20000))
        return words;
    static const QRegularExpression re(
        "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>");
    for (auto it = re.globalMatch(QString::fromUtf8(p.readAllStandardOutput())); it.hasNext();) {
        const auto m = it.next();
        words.push_back({m.captured(5), m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                         m.captured(4).toDouble()});
    }
    return words;
}

bool FindPdfWord(const std::vector<PdfWord>& words, const QString& text, double& x, double& y)
{
    for (const PdfWord& w : words)
        if (w.text == text) {
            x = w.xMin;
            y = w.yMin;
            return true;
        }
    return false;
}

bool PdfWordAt(const QString& pdf, const QString& text, double& x, double& y)
{
    return FindPdfWord(PdfWords(pdf), text, x, y);
}
