#include "Encoding.h"

#include "model/Cp1252.h"

namespace stv {

QString FromCp1252(std::string_view bytes)
{
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    for (char c : bytes)
        out += QChar(static_cast<char16_t>(Cp1252CodePoint(static_cast<unsigned char>(c))));
    return out;
}

std::string ToCp1252(const QString &text)
{
    return Utf8ToCp1252(text.toStdString());
}

QString PathFromBytes(std::string_view bytes)
{
    return FromCp1252(bytes);
}

std::string PathToBytes(const QString &path)
{
    return ToCp1252(path);
}

} // namespace stv
