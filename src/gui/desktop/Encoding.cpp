#include "gui/desktop/Encoding.h"

#include "core/text/Cp1252.h"

namespace stv
{

QString fromCp1252(std::string_view bytes)
{
    if (bytes.find("&#") != std::string_view::npos)
        return QString::fromStdString(typedTextToUtf8(bytes));
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    for (char c : bytes)
        out += QChar(static_cast<char16_t>(cp1252CodePoint(static_cast<unsigned char>(c))));
    return out;
}

std::string toCp1252(const QString &text)
{
    return utf8ToCp1252(text.toStdString());
}

QString pathFromBytes(std::string_view bytes)
{
    return QString::fromStdString(nativePath(bytes));
}

std::string pathToBytes(const QString &path)
{
    return toCp1252(path);
}

} // namespace stv
