#include "platform/ProgramFolder.h"
#include "platform/Sound.h"

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
    SetProgramFolder(QString());
    const QString exeDir = QCoreApplication::applicationDirPath();
    QVERIFY(QFileInfo(exeDir).isWritable());
    QCOMPARE(ProgramFolder(), exeDir + QLatin1Char('/'));
    QVERIFY(ProgramFolder().endsWith(QLatin1Char('/')));
}

void SoundFolderTest::overrideAndHelpFile()
{
    QTemporaryDir dir;
    SetProgramFolder(dir.path());
    QCOMPARE(ProgramFolder(), dir.path() + QLatin1Char('/'));
    QCOMPARE(HelpFilePath(), dir.path() + QStringLiteral("/StvHelp.txt"));
    SetProgramFolder(dir.path() + QLatin1Char('/')); // no second slash
    QCOMPARE(ProgramFolder(), dir.path() + QLatin1Char('/'));

    SetProgramFolder(QString());
    QCOMPARE(ProgramFolder(), QCoreApplication::applicationDirPath() + QLatin1Char('/'));
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/StvHelp.txt");
    if (QFileInfo::exists(beside))
        QCOMPARE(HelpFilePath(), beside);
    QVERIFY(HelpFilePath().endsWith(QStringLiteral("StvHelp.txt")));
}

void SoundFolderTest::systemSoundsMapToTheTheme()
{
    QCOMPARE(SystemSoundEvent(QStringLiteral("SystemStart")), QStringLiteral("service-login"));
    QCOMPARE(SystemSoundEvent(QStringLiteral("systemstart")), QStringLiteral("service-login"));
    QCOMPARE(SystemSoundEvent(QStringLiteral("SystemExit")), QStringLiteral("service-logout"));
    QCOMPARE(SystemSoundEvent(QStringLiteral("bell")), QStringLiteral("bell"));
    QVERIFY(FallbackSoundFile(QStringLiteral("SystemExit")).isEmpty());
    QVERIFY(FallbackSoundFile(QStringLiteral("nothing")).isEmpty());
}

void SoundFolderTest::bundledStartSoundIsAWaveFile()
{
    const QString path = FallbackSoundFile(QStringLiteral("SystemStart"));
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
    SetSoundPlayer(&fake);
    Sound().playSystemSound(QStringLiteral("SystemStart"));
    Sound().playFile(QStringLiteral("/x/y.wav"));
    QCOMPARE(fake.played, (QStringList { "sys:SystemStart", "file:/x/y.wav" }));
    SetSoundPlayer(nullptr);
    QVERIFY(&Sound() != &fake);
}

void SoundFolderTest::realPlayerNeverBlocksOrCrashes()
{
    // On a machine without a sound device every call simply does nothing; with one, each
    // sound cuts off the one before. Either way the calls come back at once.
    SetSoundPlayer(nullptr);
    QTemporaryDir dir;
    // A path far beyond 255 characters is handed over whole.
    QString deep = dir.path();
    while (deep.size() < 400)
        deep += QStringLiteral("/a_rather_long_folder_name");
    QVERIFY(QDir().mkpath(deep));
    const QString longWave = deep + QStringLiteral("/start.wav");
    QVERIFY(QFile::copy(FallbackSoundFile(QStringLiteral("SystemStart")), longWave));

    Sound().playSystemSound(QStringLiteral("SystemStart"));
    for (int i = 0; i < 10; ++i) {
        Sound().playFile(longWave);
        Sound().playFile(dir.path() + QStringLiteral("/missing.wav"));
        Sound().playSystemSound(QStringLiteral("no-such-theme-sound"));
    }
    Sound().playFile(QString());
    Sound().playSystemSound(QString());
}

QTEST_MAIN(SoundFolderTest)
#include "SoundFolderTest.moc"
