#include "gui/desktop/Encoding.h"

#include <QtTest>

using namespace stv;

namespace
{

QByteArray bytes(const std::string &text)
{
    return QByteArray::fromStdString(text);
}

} // namespace

class EncodingTest : public QObject
{
    Q_OBJECT
private slots:
    void windowBoundaryConversions();
    void referencesTheProgramWroteShowAsTheirCharacters();
};

void EncodingTest::windowBoundaryConversions()
{
    QCOMPARE(fromCp1252("caf\xE9 \x80"), QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC"));
    QCOMPARE(bytes(toCp1252(QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC"))), "caf\xE9 \x80");
    QCOMPARE(bytes(toCp1252(QString(QChar(0x00A0)))), " ");
    QCOMPARE(bytes(toCp1252(QString(QChar(0x4E2D)))), "&#20013;");
    // A typed no-break space never reaches a record as the field separator.
    QCOMPARE(toCp1252(QStringLiteral("a") + QChar(0xA0) + QStringLiteral("b")).find('\xA0'),
        std::string::npos);
    for (int b = 0; b < 256; ++b) {
        if (b == 0xA0)
            continue;
        const std::string one(1, static_cast<char>(b));
        QVERIFY2(toCp1252(fromCp1252(one)) == one, qPrintable(QString::number(b)));
    }
}

void EncodingTest::referencesTheProgramWroteShowAsTheirCharacters()
{
    const QString typed = QString::fromUtf8("Łódź — 日本 ★ 😀");
    const std::string stored = toCp1252(typed);
    QCOMPARE(bytes(stored),
        "&#321;\xF3"
        "d&#378; \x97 &#26085;&#26412; &#9733; &#128512;");
    QCOMPARE(fromCp1252(stored), typed);
    // References the user typed stay as typed, and every stored text comes back byte for byte.
    QCOMPARE(fromCp1252("&#60;b&#62; &#243;"), QStringLiteral("&#60;b&#62; &#243;"));
    for (const std::string text : { "&#60;b&#62;", "&#0321;", "&#321", "&#;", "&#55296;",
             "&#9999999;", "a&#&#321;;", "&#243;&#321;" })
        QCOMPARE(bytes(toCp1252(fromCp1252(text))), bytes(text));
}

QTEST_APPLESS_MAIN(EncodingTest)
#include "EncodingTest.moc"
