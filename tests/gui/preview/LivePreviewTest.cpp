// The live preview beside the wizard, driven like a user on the offscreen platform: the page
// follows typing in both styles, keeps its scroll and follows the section on show, lays out at
// the three widths, hands clicked links to the desktop, and reaches nothing it should not.
#include "core/settings/Settings.h"
#include "gui/desktop/ProgramFolder.h"
#include "support/FakeShell.h"
#include "support/PreviewFixture.h"
#include "support/ScriptServer.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
// Chromium inside Qt WebEngine frees some of its own objects with a size other than the one
// they were made with; that is the library's, not this program's, so the check goes without it.
extern "C" const char *__asan_default_options()
{
    return "new_delete_type_mismatch=0";
}
#endif

using namespace stv;
using namespace stv::test;

class LivePreviewTest : public PreviewFixture
{
    Q_OBJECT
private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void followsTypingInBothStyles_data()
    {
        QTest::addColumn<bool>("modern");
        QTest::newRow("modern") << true;
        QTest::newRow("classic") << false;
    }
    void followsTypingInBothStyles()
    {
        QFETCH(bool, modern);
        PageOptions options = m_w->pageOptions();
        options.style = modern ? PageStyle::Modern : PageStyle::Classic;
        m_w->setPageOptions(options);
        load({ newSectionRecord(static_cast<int>(KindPos::Heading)),
            newSectionRecord(static_cast<int>(KindPos::Paragraph)),
            newSectionRecord(static_cast<int>(KindPos::List)) });
        showPreview();
        goTo(0);
        typeInto("HeadingEdit", QStringLiteral("Caf\u00e9 opening"), true);
        QCOMPARE(script(QStringLiteral("document.querySelector('h1,h2,h3,h4,h5,h6').textContent"))
                     .toString()
                     .trimmed(),
            QStringLiteral("Caf\u00e9 opening"));
        click("Nextbtn");
        typeInto("ParaMemo", QStringLiteral("Fresh bread every morning"));
        QVERIFY2(pageText().contains(QStringLiteral("Fresh bread every morning")),
            qPrintable(pageText()));
        click("Nextbtn");
        typeInto("L1", QStringLiteral("Rye"));
        typeInto("L3", QStringLiteral("Spelt")); // L2 is the first item's link
        QCOMPARE(script(QStringLiteral("[...document.querySelectorAll('li')].map(li => "
                                       "li.textContent.trim()).join('|')"))
                     .toString(),
            QStringLiteral("Rye|Spelt"));
        // The page lives in memory: nothing was written beside the project or the program.
        const QStringList pages
            = QDir(m_dir->path()).entryList({ QStringLiteral("*.html") }, QDir::Files);
        QVERIFY2(pages.isEmpty(), qPrintable(pages.join(QLatin1Char(' '))));
    }

    void keepsScrollAndFollowsTheSection()
    {
        std::vector<std::string> records;
        for (int i = 0; i < 60; ++i)
            records.push_back(sectionWith(KindPos::Paragraph, field::ParaText,
                "Paragraph number " + std::to_string(i) + " with enough words to fill a line"));
        load(records);
        showPreview();
        goTo(40);
        QSignalSpy moved(m_w->livePreview(), &LivePreview::refreshed);
        QVERIFY(waitForPage(moved));
        const auto topOf = [this](int n) {
            return script(QStringLiteral("(function () { for (const p of document.querySelectorAll("
                                         "'p')) if (p.textContent.includes('number %1 ')) return "
                                         "p.getBoundingClientRect().top; return -1; })()")
                              .arg(n))
                .toDouble();
        };
        QVERIFY(QTest::qWaitFor([&] { return scrollY() > 0; }, 5000));
        QVERIFY2(topOf(40) >= 0 && topOf(40) < 40, qPrintable(QString::number(topOf(40))));

        // The user scrolls the pane elsewhere; typing keeps that place.
        script(QStringLiteral("window.scrollTo(0, 300)"));
        QTest::qWait(300);
        typeInto("ParaMemo", QStringLiteral(" more"));
        QVERIFY(pageText().contains(QStringLiteral("line more")));
        QVERIFY2(qAbs(scrollY() - 300) < 2, qPrintable(QString::number(scrollY())));

        // Another section moves the pane there.
        click("Nextbtn");
        QVERIFY(QTest::qWaitFor([&] { return topOf(41) >= 0 && topOf(41) < 40; }, 5000));
    }

    void laysOutAtThreeWidths()
    {
        load({ sectionWith(KindPos::Paragraph, field::ParaText, "Widths") });
        showPreview();
        // Room for the desktop's width at WebEngine's smallest scale, whatever the screen.
        m_w->resize(1400, 800);
        QTest::qWait(100);
        const int viewWidth = view()->widget()->width();
        for (const auto &[name, width] : { std::pair { "TabletWidth", 768 },
                 std::pair { "DesktopWidth", 1280 }, std::pair { "PhoneWidth", 390 } }) {
            click(name);
            QVERIFY2(QTest::qWaitFor(
                         [&] {
                             return qAbs(
                                        script(QStringLiteral("window.innerWidth")).toInt() - width)
                                 <= 2;
                         },
                         5000),
                name);
            QCOMPARE(view()->widget()->width(), viewWidth); // scaled, not widened
            const Result<Settings> settings = loadSettings(programFolder().toStdString());
            QCOMPARE(settings.value().value(settingKey::PreviewLayoutWidth), std::to_string(width));
        }
        QCOMPARE(
            loadSettings(programFolder().toStdString()).value().value(settingKey::PreviewShown),
            std::string("1"));
        // F5 again hides the pane, and the settings say so.
        QTest::keyClick(m_w.get(), Qt::Key_F5);
        QVERIFY(!m_w->livePreviewShown());
        QCOMPARE(
            loadSettings(programFolder().toStdString()).value().value(settingKey::PreviewShown),
            std::string("0"));
    }

    void clickedLinksGoToTheDesktop()
    {
        FakeShell shell;
        const QString page = path(QStringLiteral("other.html"));
        QFile other(page);
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.close();
        load({ sectionWith(KindPos::HTML, field::HTMLCode,
            "<p><a id=\"web\" href=\"https://example.org/news\">web</a></p>"
            "<p><a id=\"near\" href=\"other.html\">near</a></p>"
            "<p><a id=\"tab\" target=\"_blank\" href=\"https://example.org/tab\">tab</a></p>"
            "<p><a id=\"prog\" href=\"/bin/sh\">prog</a></p>") });
        showPreview();
        clickLink("web");
        QTRY_VERIFY(shell.calls.join(QLatin1Char('\n'))
                        .contains(QStringLiteral("https://example.org/news")));
        clickLink("near");
        QTRY_VERIFY2(shell.calls.join(QLatin1Char('\n')).contains(page),
            qPrintable(shell.calls.join(QLatin1Char('\n'))));
        clickLink("tab");
        QTRY_VERIFY(shell.calls.join(QLatin1Char('\n'))
                        .contains(QStringLiteral("https://example.org/tab")));
        // A program is named in a question first; No starts nothing.
        m_script->queue(Answer::No);
        clickLink("prog");
        QTRY_COMPARE(m_script->asked().size(), std::size_t(1));
        QTest::qWait(200);
        QVERIFY(!shell.calls.join(QLatin1Char('\n')).contains(QStringLiteral("/bin/sh")));
        // The pane itself still shows the project's page.
        QVERIFY(pageText().contains(QStringLiteral("web")));
        QCOMPARE(shell.calls.size(), 3);
    }

    void reachesNothingItShouldNot()
    {
        LinkTestServer server(path(QStringLiteral("hits.log")).toStdString());
        QFile secret(path(QStringLiteral("secret.txt")));
        QVERIFY(secret.open(QIODevice::WriteOnly));
        secret.write("TOP SECRET");
        secret.close();
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(path(QStringLiteral("red.png"))));
        const std::string html = "<p><a href=\"" + server.url("/linked")
            + "\">a link only</a></p><iframe id=\"f\" src=\"secret.txt\"></iframe>"
              "<iframe id=\"g\" src=\"file:///etc/hostname\"></iframe>"
              "<img id=\"red\" src=\"red.png\"><img id=\"txt\" src=\"secret.txt\">";
        load({ sectionWith(KindPos::HTML, field::HTMLCode, html) });
        showPreview();
        QTRY_COMPARE(
            script(QStringLiteral("document.getElementById('red').naturalWidth")).toInt(), 8);
        QCOMPARE(script(QStringLiteral("document.getElementById('txt').naturalWidth")).toInt(), 0);
        const QString frames = script(
            QStringLiteral(
                "[...document.querySelectorAll('iframe')].map(f => { try { return "
                "f.contentDocument ? f.contentDocument.documentElement.outerHTML : 'closed'; } "
                "catch (e) { return 'closed'; } }).join('|')"))
                                   .toString();
        QVERIFY2(!frames.contains(QStringLiteral("TOP SECRET")), qPrintable(frames));
        QTest::qWait(500);
        QVERIFY(server.requests().empty());

        // What the page itself asks for from a host is loaded, as on the site.
        QSignalSpy shown(m_w->livePreview(), &LivePreview::refreshed);
        m_w->sectionList()[0] = sectionWith(
            KindPos::HTML, field::HTMLCode, "<img src=\"" + server.url("/ok") + "\">");
        m_w->livePreview()->refreshNow();
        QVERIFY(waitForPage(shown));
        QTRY_VERIFY(!server.requests().empty());
        for (const std::string &request : server.requests())
            QVERIFY2(request.rfind("GET /ok ", 0) == 0, request.c_str());
    }

    // As root with the sandbox on, Chromium would end the whole program: the pane says why
    // instead.
    void saysWhyInsteadOfEndingAsRoot()
    {
        if (::geteuid() != 0)
            QSKIP("only the root user meets this");
        qunsetenv("QTWEBENGINE_DISABLE_SANDBOX");
        PreviewPane pane;
        QVERIFY(pane.view() == nullptr);
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        const QLabel *problem = pane.findChild<QLabel *>(QStringLiteral("PreviewProblem"));
        QVERIFY(problem != nullptr);
        QVERIFY2(problem->text().contains(QStringLiteral("root")), qPrintable(problem->text()));
    }

private:
    void clickLink(const char *id)
    {
        QTRY_VERIFY(!m_w->livePreview()->busy());
        const QVariantList box
            = script(QStringLiteral("(function () { const r = document.getElementById('%1')"
                                    ".getBoundingClientRect(); return [r.left + r.width / 2, "
                                    "r.top + r.height / 2, window.innerWidth]; })()")
                         .arg(QString::fromLatin1(id)))
                  .toList();
        QCOMPARE(box.size(), 3);
        QWidget *target = view()->widget()->focusProxy();
        QVERIFY(target != nullptr);
        const double zoom = view()->widget()->width() / box[2].toDouble();
        const QPoint at(qRound(box[0].toDouble() * zoom), qRound(box[1].toDouble() * zoom));
        QTest::mouseClick(target, Qt::LeftButton, {}, at);
    }
};

int main(int argc, char **argv)
{
    // Tests run as root, and Chromium's sandbox refuses to start as root; the program itself
    // never turns it off.
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    LivePreviewTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "LivePreviewTest.moc"
