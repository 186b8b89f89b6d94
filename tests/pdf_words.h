#pragma once
// The words of a printed PDF with their places, as poppler's pdftotext -bbox reads them:
// the independent reader the printing tests check positions with.
#include <QString>
#include <vector>

struct PdfWord {
    QString text;
    double xMin, yMin, xMax, yMax;  // points from the sheet's top-left corner
};

// The words of one page (1-based), or of every page when `page` is 0. Empty when the
// file cannot be read.
std::vector<PdfWord> PdfWords(const QString& pdf, int page = 0);

// The top-left corner of the first word that is exactly `text`; false when there is none.
bool FindPdfWord(const std::vector<PdfWord>& words, const QString& text, double& x, double& y);

// The same for a word anywhere in the file.
bool PdfWordAt(const QString& pdf, const QString& text, double& x, double& y);
