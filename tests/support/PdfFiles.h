#pragma once
// What the print tests read back from the PDF files they print to: the page
// count from the file's page objects, and the text through pdftotext.
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <string>

// The number of pages of a PDF (-1 when it cannot be read).
inline int PdfPageCount(const std::string& file)
{
    QFile f(QString::fromStdString(file));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    return int(QString::fromLatin1(f.readAll()).count(QRegularExpression("/Type\\s*/Page[^s]")));
}

// The text of the given page of a PDF (all pages when page is 0).
inline std::string PdfText(const std::string& file, int page = 0)
{
    QStringList arguments;
    if (page > 0)
        arguments << "-f" << QString::number(page) << "-l" << QString::number(page);
    arguments << QString::fromStdString(file) << "-";
    QProcess p;
    p.start("pdftotext", arguments);
    if (!p.waitForFinished(20000))
        return "";
    return p.readAllStandardOutput().toStdString();
}
