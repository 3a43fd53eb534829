#include "gui/help/HelpPrint.h"

#include "gui/desktop/Encoding.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace stv
{

namespace
{

QString &printFile()
{
    static QString file;
    return file;
}

} // namespace

void setHelpPrintFile(const QString &pdfPath)
{
    printFile() = pdfPath;
}

std::vector<QString> breakToWidth(const QString &line, const QFontMetrics &metrics, int width)
{
    std::vector<QString> out;
    qsizetype start = 0;
    int used = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const int advance = metrics.horizontalAdvance(line.at(i));
        if (i > start && used + advance > width) {
            out.push_back(line.mid(start, i - start));
            start = i;
            used = 0;
        }
        used += advance;
    }
    out.push_back(line.mid(start));
    return out;
}

bool printPlainText(const std::vector<std::string> &lines, const QString &jobTitle, QString &error)
{
    QPrinter printer;
    if (!printFile().isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printFile());
    } else if (QPrinterInfo::defaultPrinter().isNull()) {
        error = QStringLiteral("Cannot print: no default printer is set up.");
        return false;
    }
    printer.setDocName(jobTitle);

    QPainter painter;
    if (!painter.begin(&printer)) {
        error = QStringLiteral("Cannot print: the printer %1 did not start the job.")
                    .arg(printer.printerName());
        return false;
    }
    // The painter's origin is the top-left corner of the printable area.
    const QRectF area = printer.pageRect(QPrinter::DevicePixel);
    const int width = static_cast<int>(area.width());
    const int height = static_cast<int>(area.height());
    const QFontMetrics metrics = painter.fontMetrics();
    const int pitch = metrics.lineSpacing();
    int y = 0;
    for (const std::string &line : lines) {
        for (const QString &piece : breakToWidth(fromCp1252(line), metrics, width)) {
            if (y + pitch > height && y > 0) {
                printer.newPage();
                y = 0;
            }
            painter.drawText(0, y + metrics.ascent(), piece);
            y += pitch;
        }
    }
    painter.end();
    return true;
}

} // namespace stv
