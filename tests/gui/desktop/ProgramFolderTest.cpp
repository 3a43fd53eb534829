// Where the manual is found for a program run from its build folder and for an installed one.
#include "gui/desktop/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace stv;

namespace
{

bool touch(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly);
}

} // namespace

class ProgramFolderTest : public QObject
{
    Q_OBJECT
private slots:
    void helpBesideTheProgramFirstThenTheSharedDataFolder();
};

void ProgramFolderTest::helpBesideTheProgramFirstThenTheSharedDataFolder()
{
    QTemporaryDir prefix;
    QVERIFY(prefix.isValid());
    const QDir root(prefix.path());
    QVERIFY(root.mkpath(QStringLiteral("bin")));
    QVERIFY(root.mkpath(QStringLiteral("share/sitorva")));
    const QString bin = root.filePath(QStringLiteral("bin"));

    QVERIFY2(installedHelpFile(bin).isEmpty(), "no manual anywhere");

    QVERIFY(touch(root.filePath(QStringLiteral("share/sitorva/StvHelp.txt"))));
    QCOMPARE(installedHelpFile(bin), root.filePath(QStringLiteral("share/sitorva/StvHelp.txt")));
    QCOMPARE(installedHelpFile(bin + QLatin1Char('/')),
        root.filePath(QStringLiteral("share/sitorva/StvHelp.txt")));

    QVERIFY(touch(root.filePath(QStringLiteral("bin/StvHelp.txt"))));
    QCOMPARE(installedHelpFile(bin), root.filePath(QStringLiteral("bin/StvHelp.txt")));
}

QTEST_APPLESS_MAIN(ProgramFolderTest)
#include "ProgramFolderTest.moc"
