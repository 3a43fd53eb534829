// Create Web Page and Publish from the main window with a phone photo: the modern page shows
// (and sends) the picture made ready for the web, the classic page the original.
#include "support/CameraPictures.h"
#include "support/FakeShell.h"
#include "support/FtpTestServer.h"
#include "support/ScriptServer.h"
#include "support/TestRecords.h"
#include "support/WizardWindowFixture.h"

#include "core/page/PageStyle.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

using namespace stv;
using namespace stv::test;

#if defined(__SANITIZE_ADDRESS__)
// LeakSanitizer's stop of the process crashes while it reads the thread-local storage of
// libvips' worker threads; what those hold is libvips' own, so the leak check goes without it.
extern "C" const char *__lsan_default_options()
{
    return "use_tls=0";
}
#endif

class WebPicturesWindowTest : public WizardWindowFixture
{
    Q_OBJECT

    std::string file(const QString &name) { return path(name).toStdString(); }

    // The photo's Image section added at the end of the page as a user does: Image chosen on
    // the Select page, the file and its text typed in.
    void addImageSection(const QString &picture, const QString &text)
    {
        goTo(static_cast<int>(sections().size())); // the Select page
        auto *kinds = child<QListWidget>("SelectBox");
        const QList<QListWidgetItem *> image
            = kinds->findItems(QStringLiteral("Image"), Qt::MatchExactly);
        QCOMPARE(image.size(), 1);
        QTest::mouseClick(
            kinds->viewport(), Qt::LeftButton, {}, kinds->visualItemRect(image[0]).center());
        click("Acceptbtn");
        QTest::keyClicks(child<QLineEdit>("ImageEdit"), picture);
        QTest::keyClicks(child<QLineEdit>("AltTextEdit"), text);
        m_w->storeCurrentPage();
    }

    void chooseStyle(bool modern)
    {
        QAction *style = child<QAction>("ModernPage1");
        if (style->isChecked() != modern)
            style->trigger();
        QCOMPARE(m_w->pageOptions().style, modern ? PageStyle::Modern : PageStyle::Classic);
    }

    // Create Web Page from the menu into `page`; the last box's text, which says what could
    // not be copied beside the page before it asks "Do you want to test it?".
    QString createWebPage(const QString &page)
    {
        FakeShell shell;
        m_script->clear();
        m_script->queue(Answer::Ok);
        m_script->queueText(page);
        m_script->queue(Answer::No);
        trigger("CreateWebPage1");
        if (m_script->asked().size() != 3 || !m_script->messages().empty())
            return QStringLiteral("unexpected boxes");
        return m_script->asked().back().text;
    }

    // Publish My Page from the menu; the upload window is closed once it said what it sent.
    // A hang guard gives up after two minutes and prints how long the publish took.
    QString publish()
    {
        QString said;
        QElapsedTimer clock;
        clock.start();
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            for (const QString &m : m_script->messages())
                if (m.startsWith(QStringLiteral("Published into")))
                    said = m;
            QWidget *form = QApplication::activeModalWidget();
            if (form != nullptr && (!said.isEmpty() || clock.elapsed() > 120000))
                form->close();
        });
        watch.start(50);
        trigger("PublishMyPage1");
        qInfo("publish took %lld ms", static_cast<long long>(clock.elapsed()));
        return said;
    }

private slots:
    void init()
    {
        openWindow();
        QDir(m_dir->path()).mkpath(QStringLiteral("web"));
    }
    void cleanup() { closeWindow(); }

    void theModernPageShowsPicturesMadeReadyForTheWeb()
    {
        QVERIFY(makeCameraJpeg(file(QStringLiteral("photo.jpg")), 2000, 1500));
        WriteFileBytes(file(QStringLiteral("broken.jpg")), "GIF? JPEG? neither");
        load({ Rec({ "Image", "i", file(QStringLiteral("broken.jpg")), "", "", "", "Broken", "0",
            "", "0", "", "1", "1" }) });
        addImageSection(path(QStringLiteral("photo.jpg")), QStringLiteral("The tower"));
        chooseStyle(true);

        const QString page = path(QStringLiteral("web/index.html"));
        const QString said = createWebPage(page);
        // The picture that is none is named, and the page is written all the same.
        QVERIFY2(said.contains(QStringLiteral("could not be copied")), qPrintable(said));
        QVERIFY2(said.contains(QStringLiteral("broken.jpg")), qPrintable(said));
        QVERIFY(!said.contains(QStringLiteral("photo.jpg")));
        QVERIFY(QFileInfo::exists(page));
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("web/broken.jpg"))));

        // Upright (the red left half of the stored photo is on top), at most 1600 pixels,
        // without the camera's name or the place.
        const std::string ready = file(QStringLiteral("web/photo.jpg"));
        QCOMPARE(pixelSize(ready), std::make_pair(1200, 1600));
        QCOMPARE(identifyingTags(ready), std::string());
        const std::array<int, 3> top = colourAt(ready, 600, 100);
        const std::array<int, 3> bottom = colourAt(ready, 600, 1500);
        QVERIFY2(top[0] > 150 && top[2] < 100, "red on top");
        QVERIFY2(bottom[2] > 150 && bottom[0] < 100, "blue below");
        const std::string html = ReadFileBytes(page.toStdString());
        QVERIFY2(html.find("<img src=\"photo.jpg\" alt=\"The tower\" width=\"1200\" "
                           "height=\"1600\"")
                != std::string::npos,
            html.c_str());
    }

    void theClassicPageCopiesTheOriginals()
    {
        QVERIFY(makeCameraJpeg(file(QStringLiteral("photo.jpg")), 2000, 1500));
        load({});
        addImageSection(path(QStringLiteral("photo.jpg")), QStringLiteral("The tower"));
        chooseStyle(false);
        QVERIFY(!createWebPage(path(QStringLiteral("web/index.html")))
                     .contains(QStringLiteral("could not")));
        QCOMPARE(ReadFileBytes(file(QStringLiteral("web/photo.jpg"))),
            ReadFileBytes(file(QStringLiteral("photo.jpg"))));
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("WebPictures"))));
    }

    // What goes to the server is what the page shows; a second publish sends only the picture
    // whose photo changed. Photos over 2,000 px are no problem of the page: it shows them small.
    void publishSendsThePicturesThePageShows()
    {
        FtpTestServer server;
        QVERIFY2(server.startError().empty(), server.startError().c_str());
        server.makeFolder("site");
        for (const char *name : { "one.jpg", "two.jpg" })
            QVERIFY(makeCameraJpeg(file(QString::fromLatin1(name)), 2400, 1800));
        Project project;
        project.ftpHost = server.host();
        project.ftpUserId = FtpTestServer::User;
        project.ftpPassword = FtpTestServer::password;
        project.ftpInitDir = "site";
        project.keepPasswordInFile = true;
        QVERIFY(saveProjectFile(file(QStringLiteral("site.stv")), project).ok());
        QVERIFY(m_w->loadProjectFromPath(path(QStringLiteral("site.stv"))));
        addImageSection(path(QStringLiteral("one.jpg")), QStringLiteral("One"));
        addImageSection(path(QStringLiteral("two.jpg")), QStringLiteral("Two"));
        chooseStyle(true);
        const QString page = path(QStringLiteral("web/index.html"));
        QVERIFY(!createWebPage(page).contains(QStringLiteral("could not")));

        m_script->clear();
        m_script->queue(Answer::Ok); // the password may go over plain FTP
        m_script->queue(Answer::Ok); // what was sent
        QCOMPARE(publish(),
            QStringLiteral("Published into /site on 127.0.0.1:\n\n3 uploaded, 0 unchanged, 0 "
                           "failed"));
        QVERIFY(m_script->unexpected().empty());
        for (const char *name : { "index.html", "one.jpg", "two.jpg" })
            QVERIFY2(server.readFile(std::string("site/") + name)
                    == ReadFileBytes(file(QStringLiteral("web/") + QString::fromLatin1(name))),
                name);
        QVERIFY(server.readFile("site/one.jpg") != ReadFileBytes(file(QStringLiteral("one.jpg"))));

        // Another photo of the same size: the page asks to be made again and is the same.
        QVERIFY(makeCameraJpeg(file(QStringLiteral("two.jpg")), 2400, 1800));
        m_script->clear();
        m_script->queue(Answer::Ok); // Create Web Page first
        m_script->queue(Answer::Ok);
        m_script->queueText(page);
        m_script->queue(Answer::No);
        m_script->queue(Answer::Ok); // plain FTP
        m_script->queue(Answer::Ok);
        FakeShell shell;
        QCOMPARE(publish(),
            QStringLiteral("Published into /site on 127.0.0.1:\n\n1 uploaded, 2 unchanged, 0 "
                           "failed"));
        QCOMPARE(
            server.readFile("site/two.jpg"), ReadFileBytes(file(QStringLiteral("web/two.jpg"))));
        QCOMPARE(pixelSize(server.home() + "/site/two.jpg"), std::make_pair(1200, 1600));
    }
};

QTEST_MAIN(WebPicturesWindowTest)
#include "WebPicturesWindowTest.moc"
