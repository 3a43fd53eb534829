// Where the manual is found for a program run from its build folder and for an installed one.
#include "gui/desktop/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace stv;

namespace
{

void touch(const QString &path)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

TEST(InstalledHelpFile, BesideTheProgramFirstThenTheSharedDataFolder)
{
    QTemporaryDir prefix;
    ASSERT_TRUE(prefix.isValid());
    const QDir root(prefix.path());
    ASSERT_TRUE(root.mkpath(QStringLiteral("bin")));
    ASSERT_TRUE(root.mkpath(QStringLiteral("share/sitorva")));
    const QString bin = root.filePath(QStringLiteral("bin"));

    EXPECT_EQ(installedHelpFile(bin), QString()) << "no manual anywhere";

    touch(root.filePath(QStringLiteral("share/sitorva/StvHelp.txt")));
    EXPECT_EQ(installedHelpFile(bin), root.filePath(QStringLiteral("share/sitorva/StvHelp.txt")));
    EXPECT_EQ(installedHelpFile(bin + QLatin1Char('/')),
        root.filePath(QStringLiteral("share/sitorva/StvHelp.txt")));

    touch(root.filePath(QStringLiteral("bin/StvHelp.txt")));
    EXPECT_EQ(installedHelpFile(bin), root.filePath(QStringLiteral("bin/StvHelp.txt")));
}

} // namespace
