#pragma once
// Printing a chapter as plain text on the default printer: the printer's default font, from
// the top-left corner of the printable area, a line too wide broken after the last character
// that fits, a new page when one is full. No dialog, no header, no footer.

#include <QString>

#include <string>
#include <vector>

class QFontMetrics;

namespace stv
{

// Tests send print jobs to this PDF file instead of the default printer; empty goes back.
void setHelpPrintFile(const QString &pdfPath);

// Prints the lines (Windows-1252) as one job. False with a message when no job could start.
bool printPlainText(const std::vector<std::string> &lines, const QString &jobTitle, QString &error);

// One text line cut into printed lines no wider than width: each piece ends after the last
// character that fits (at least one character per piece). An empty line stays one line.
std::vector<QString> breakToWidth(const QString &line, const QFontMetrics &metrics, int width);

} // namespace stv
