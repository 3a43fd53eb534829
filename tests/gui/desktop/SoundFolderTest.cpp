#include "gui/desktop/ProgramFolder.h"
#include "gui/desktop/Sound.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

using namespace stv;

namespace
{

class FakePlayer : public SoundPlayer
{
public:
    QStringList played;
    void playFile(const QString &path) override { played << QStringLiteral("file:") + path; }
    void playSystemSound(const QString &name) override { played << QStringLiteral("sys:") + name; }
};

} // namespace

class SoundFolderTest : public QObject
{
    Q_OBJECT
private slots:
    void programFolderIsTheWritableExecutableFolder();
    void overrideAndHelpFile();
    void systemSoundsMapToTheTheme();
    void bundledStartSoundIsAWaveFile();
    void fakePlayerReplacesTheRealOne();
    void realPlayerNeverBlocksOrCrashes();
};

void SoundFolderTest::programFolderIsTheWritableExecutableFolder()
{
    setProgramFolder(QString());
    const QString exeDir = QCoreApplication::applicationDirPath();
    QVERIFY(QFileInfo(exeDir).isWritable());
    QCOMPARE(programFolder(), exeDir + QLatin1Char('/'));
    QVERIFY(programFolder().endsWith(QLatin1Char('/')));
}

void SoundFolderTest::overrideAndHelpFile()
{
    QTemporaryDir dir;
    setProgramFolder(dir.path());
    QCOMPARE(programFolder(), dir.path() + QLatin1Char('/'));
    QCOMPARE(helpFilePath(), dir.path() + QStringLiteral("/StvHelp.txt"));
    setProgramFolder(dir.path() + QLatin1Char('/')); // no second slash
    QCOMPARE(programFolder(), dir.path() + QLatin1Char('/'));

    setProgramFolder(QString());
    QCOMPARE(programFolder(), QCoreApplication::applicationDirPath() + QLatin1Char('/'));
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/StvHelp.txt");
    if (QFileInfo::exists(beside))
        QCOMPARE(helpFilePath(), beside);
    QVERIFY(helpFilePath().endsWith(QStringLiteral("StvHelp.txt")));
}

void SoundFolderTest::systemSoundsMapToTheTheme()
{
    QCOMPARE(systemSoundEvent(QStringLiteral("SystemStart")), QStringLiteral("service-login"));
    QCOMPARE(systemSoundEvent(QStringLiteral("systemstart")), QStringLiteral("service-login"));
    QCOMPARE(systemSoundEvent(QStringLiteral("SystemExit")), QStringLiteral("service-logout"));
    QCOMPARE(systemSoundEvent(QStringLiteral("bell")), QStringLiteral("bell"));
    QVERIFY(fallbackSoundFile(QStringLiteral("SystemExit")).isEmpty());
    QVERIFY(fallbackSoundFile(QStringLiteral("nothing")).isEmpty());
}

void SoundFolderTest::bundledStartSoundIsAWaveFile()
{
    const QString path = fallbackSoundFile(QStringLiteral("SystemStart"));
    QVERIFY(!path.isEmpty());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray head = file.read(12);
    QVERIFY(head.startsWith("RIFF"));
    QCOMPARE(head.mid(8, 4), QByteArray("WAVE"));
    QVERIFY(file.size() > 1000);
}

void SoundFolderTest::fakePlayerReplacesTheRealOne()
{
    FakePlayer fake;
    setSoundPlayer(&fake);
    sound().playSystemSound(QStringLiteral("SystemStart"));
    sound().playFile(QStringLiteral("/x/y.wav"));
    QCOMPARE(fake.played, (QStringList { "sys:SystemStart", "file:/x/y.wav" }));
    setSoundPlayer(nullptr);
    QVERIFY(&sound() != &fake);
}

void SoundFolderTest::realPlayerNeverBlocksOrCrashes()
{
    // On a machine without a sound device every call simply does nothing; with one, each
    // sound cuts off the one before. Either way the calls come back at once.
    setSoundPlayer(nullptr);
    QTemporaryDir dir;
    // A path far beyond 255 characters is handed over whole.
    QString deep = dir.path();
    while (deep.size() < 400)
        deep += QStringLiteral("/a_rather_long_folder_name");
    QVERIFY(QDir().mkpath(deep));
    const QString longWave = deep + QStringLiteral("/start.wav");
    QVERIFY(QFile::copy(fallbackSoundFile(QStringLiteral("SystemStart")), longWave));

    sound().playSystemSound(QStringLiteral("SystemStart"));
    for (int i = 0; i < 10; ++i) {
        sound().playFile(longWave);
        sound().playFile(dir.path() + QStringLiteral("/missing.wav"));
        sound().playSystemSound(QStringLiteral("no-such-theme-sound"));
    }
    sound().playFile(QString());
    sound().playSystemSound(QString());
}

QTEST_MAIN(SoundFolderTest)
#include "SoundFolderTest.moc"
