// The main window driven like a user: pages, records, text options, lists and zoom editors
// (the File menu's project commands are in ProjectCommandsTest).
#include "gui/wizard/WizardWindow.h"
#include "core/project/Project.h"
#include "core/project/Records.h"
#include "core/text/Cp1252.h"
#include "core/text/TextTools.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/desktop/Sound.h"
#include "gui/dialogs/Dialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

#include "support/HostileFiles.h"
#include "support/TestRecords.h"
#include "support/WizardWindowFixture.h"

using namespace stv;
using namespace stv::test;

class WizardWindowTest : public WizardWindowFixture
{
    Q_OBJECT

private slots:
    void init() { openWindow(); }
    void cleanup() { closeWindow(); }

    void emptyProjectWalksToSelectAndBack()
    {
        QCOMPARE(m_w->windowTitle(), QStringLiteral("Sitorva 98"));
        QCOMPARE(position(), QStringLiteral("Section 0, Introducing Sitorva 98...."));
        QVERIFY(!child<QPushButton>("Backbtn")->isEnabled());
        QVERIFY(!child<QPushButton>("LabBtn")->isEnabled());
        click("Nextbtn");
        QCOMPARE(position(), QStringLiteral("Section 1, Create a title."));
        QCOMPARE(child<QLineEdit>("TitleEdit")->text(),
            QStringLiteral("Your web pages title (Change me)"));
        click("Nextbtn");
        QCOMPARE(position(), QStringLiteral("Section 2, Select background colour/image."));
        QVERIFY(child<QCheckBox>("ImportBGImageCB")->isChecked());
        click("Nextbtn");
        QCOMPARE(position(), QStringLiteral("Section 3, Select next stage."));
        QCOMPARE(m_w->visiblePage(), int(WizardWindow::SelectIndex));
        QVERIFY(!child<QPushButton>("Nextbtn")->isEnabled());
        QVERIFY(!m_w->projectChanged());

        // Heading is chosen at start-up.
        click("Acceptbtn");
        QCOMPARE(sections().size(), 1u);
        QCOMPARE(position(), QStringLiteral("Section 3, Heading"));
        QCOMPARE(labelPanel(), QStringLiteral("Untitled"));
        QCOMPARE(
            child<QLineEdit>("HeadingEdit")->text(), QStringLiteral("Insert Your Heading Here!"));
        QCOMPARE(child<QButtonGroup>("HeadSizeRGGroup")->checkedId(), 2);
        QVERIFY(child<QPushButton>("LabBtn")->isEnabled());
        QVERIFY(m_w->projectChanged());

        click("Nextbtn");
        QCOMPARE(position(), QStringLiteral("Section 4, Select next stage."));
        QCOMPARE(sections()[0],
            Rec({ "Heading", "Untitled", "Insert Your Heading Here!", "2", "0", "0", "0", "0", "0",
                "0" }));

        // A double click on an item appends that kind.
        auto *box = child<QListWidget>("SelectBox");
        QListWidgetItem *para = box->item(1);
        box->setCurrentItem(para);
        emit box->itemDoubleClicked(para);
        QCOMPARE(position(), QStringLiteral("Section 4, Paragraph"));
        QCOMPARE(fields(1)[field::ParaText], std::string("Insert Your Paragraph Here!"));

        click("Backbtn");
        click("Backbtn");
        QCOMPARE(position(), QStringLiteral("Section 2, Select background colour/image."));
        QCOMPARE(labelPanel(), QString());
        QCOMPARE(sections().size(), 2u);
    }

    void acceptDoesNothingWithoutChoiceOrOffTheSelectPage()
    {
        m_w->acceptSection();
        QVERIFY(sections().empty());
        goTo(0);
        child<QListWidget>("SelectBox")->clearSelection();
        click("Acceptbtn");
        QVERIFY(sections().empty());
    }

    void headingWithMissingFieldsShowsDefaultsAndStoresAllFields()
    {
        load({ Rec({ "Heading", "Lbl", "Hi", "4" }) });
        goTo(0);
        QCOMPARE(child<QButtonGroup>("HeadSizeRGGroup")->checkedId(), 4);
        for (const char *name : { "BoldCheck", "ItalicCheck", "UnderlineCheck", "StrikeOutCheck" })
            QVERIFY(!child<QCheckBox>(name)->isChecked());
        QCOMPARE(child<QButtonGroup>("AllignRGGroup")->checkedId(), 0);
        QCOMPARE(child<QLabel>("Panel2")->property("colourValue").toInt(), 0);
        click("Nextbtn");
        QCOMPARE(sections()[0], Rec({ "Heading", "Lbl", "Hi", "4", "0", "0", "0", "0", "0", "0" }));
    }

    void memoLineBreaksBothWays()
    {
        load(
            { Rec({ "Paragraph", "a", "a{lf13}{lf10}b", "2" }), Rec({ "Paragraph", "b", "x", "2" }),
                Rec({ "HTML", "c", "a{LF10}b" }), Rec({ "Index", "d", "", "2" }) });
        goTo(0);
        QCOMPARE(child<QPlainTextEdit>("ParaMemo")->toPlainText(), QStringLiteral("a\nb"));
        click("Nextbtn");
        QCOMPARE(fields(0)[field::ParaText], std::string("a{lf13}{lf10}b"));
        click("Nextbtn");
        QCOMPARE(fields(1)[field::ParaText], std::string("x"));
        QCOMPARE(child<QPlainTextEdit>("HTMLMemo")->toPlainText(), QStringLiteral("a\nb"));
        click("Nextbtn");
        QCOMPARE(fields(2)[field::HTMLCode], std::string("a{lf13}{lf10}b"));

        // Two typed lines in each memo are stored with CR LF between them.
        auto type = [](QWidget *memo) {
            QTest::keyClicks(memo, QStringLiteral("one"));
            QTest::keyClick(memo, Qt::Key_Return);
            QTest::keyClicks(memo, QStringLiteral("two"));
        };
        type(child<QPlainTextEdit>("IndexMemo"));
        click("Nextbtn");
        QCOMPARE(fields(3)[field::IndexLines], std::string("one{lf13}{lf10}two"));
        click("Backbtn");
        click("Backbtn");
        QPlainTextEdit *html = child<QPlainTextEdit>("HTMLMemo");
        html->clear();
        type(html);
        click("Backbtn");
        QPlainTextEdit *para = child<QPlainTextEdit>("ParaMemo");
        para->clear();
        type(para);
        click("Backbtn");
        QCOMPARE(fields(1)[field::ParaText], std::string("one{lf13}{lf10}two"));
        QCOMPARE(fields(2)[field::HTMLCode], std::string("one{lf13}{lf10}two"));

        // Typed markers are not escaped: they come back as a line break.
        para = child<QPlainTextEdit>("ParaMemo");
        para->setPlainText(QStringLiteral("p{lf10}q"));
        click("Nextbtn");
        click("Backbtn");
        QCOMPARE(para->toPlainText(), QStringLiteral("p\nq"));
    }

    // A paragraph of 50 MB in one line opens on its page and is stored back within seconds.
    void hugeParagraphOpensWithinSeconds()
    {
        std::string text;
        text.reserve((50 << 20) + 16);
        while (text.size() < (50u << 20))
            text += "lorem ipsum ";
        load({ Rec({ "Paragraph", "big", text, "2" }) });
        // A guard against the whole-text layout that took minutes, not a speed check (the
        // sanitizer build alone takes twenty seconds here).
        const HangGuard guard(120);
        printSecondsFor("50 MB paragraph shown and stored", [&] {
            goTo(0);
            QVERIFY(!child<QPlainTextEdit>("ParaMemo")->grab().isNull());
            click("Nextbtn");
        });
        QVERIFY(fields(0)[field::ParaText] == text);
    }

    void dividerKeepsItsStoredLabel()
    {
        load({ Rec({ "Divider", "d", "255", "20", "abc", "1" }) });
        goTo(0);
        QCOMPARE(child<QLabel>("DivThickLabel")->text(), QStringLiteral("20"));
        QCOMPARE(child<QSlider>("DivThickTB")->value(), 15);
        QCOMPARE(child<QLabel>("DivWidthLabel")->text(), QStringLiteral("abc"));
        QCOMPARE(child<QSlider>("DivWidthTB")->value(), 1);
        click("Nextbtn");
        QCOMPARE(sections()[0], Rec({ "Divider", "d", "255", "20", "abc", "1" }));
        QVERIFY(!m_w->projectChanged());
        click("Backbtn");
        child<QSlider>("DivThickTB")->setValue(7);
        QCOMPARE(child<QLabel>("DivThickLabel")->text(), QStringLiteral("7"));
        click("Nextbtn");
        QCOMPARE(fields(0)[field::DividerThickness], std::string("7"));
    }

    void paragraphOutOfRangeKeepsPreviousTicks()
    {
        load({ Rec({ "Paragraph", "a", "t", "5", "0", "0", "0", "0", "2" }),
            Rec({ "Paragraph", "b", "u", "9", "0", "0", "0", "0", "7" }) });
        goTo(0);
        QVERIFY(child<QAction>("ParaSize5")->isChecked());
        QVERIFY(child<QAction>("ParaAlign2")->isChecked());
        click("Nextbtn");
        QVERIFY(child<QAction>("ParaSize5")->isChecked());
        QVERIFY(child<QAction>("ParaAlign2")->isChecked());
        click("Nextbtn");
        QCOMPARE(fields(1)[field::ParaSize], std::string("5"));
        QCOMPARE(fields(1)[field::ParaAlign], std::string("2"));
    }

    void textOptionsChangeTheMemoPreview()
    {
        load({ Rec({ "Paragraph", "a", "t", "2" }) });
        goTo(0);
        QPlainTextEdit *memo = child<QPlainTextEdit>("ParaMemo");
        const qreal size = memo->font().pointSizeF();
        trigger("ParaBold");
        QVERIFY(memo->font().bold());
        trigger("ParaBold");
        QVERIFY(!child<QAction>("ParaBold")->isChecked());
        QVERIFY(!memo->font().bold());
        trigger("ParaItalic");
        QVERIFY(memo->font().italic());
        trigger("ParaSize5");
        for (int i = 0; i < 7; ++i)
            QCOMPARE(child<QAction>(qPrintable(QStringLiteral("ParaSize%1").arg(i)))->isChecked(),
                i == 5);
        QCOMPARE(memo->font().pointSizeF(), size);
        trigger("ParaAlign1");
        QCOMPARE(memo->document()->defaultTextOption().alignment(), Qt::AlignHCenter);

        m_script->queueColour(QColor(255, 0, 0));
        trigger("ParaColourItem");
        click("Nextbtn");
        QCOMPARE(sections()[0],
            Rec({ "Paragraph", "a", "t", "5", "0", "1", "0", "0", "1", "255", "0", "" }));

        // Swatches behind picture buttons: a cancelled dialog changes nothing.
        click("Backbtn");
        click("Backbtn");
        m_script->queueColour(QColor(0, 0, 255));
        click("ColourPanel");
        QCOMPARE(m_w->project().backgroundColour, 0xFF0000);
        m_script->queueCancel();
        click("ColourPanel");
        QCOMPARE(m_w->project().backgroundColour, 0xFF0000);
    }

    void linkCommands()
    {
        load({ Rec({ "Paragraph", "a", "t", "2", "0", "0", "0", "0", "0", "0", "0",
            "mailto:me@x.org" }) });
        goTo(0);
        QLabel *link = child<QLabel>("LinkLabel");
        m_script->queue(Answer::Ok); // accept the offered text unchanged
        trigger("EmailLink");
        const auto &asked = m_script->asked().back();
        QCOMPARE(asked.caption, QStringLiteral("Create an email Link for this text.."));
        QVERIFY(asked.text.startsWith(QStringLiteral(
            "Specify the email address that can be accessed\nwhen the user of your web page clicks "
            "on the text.\n\nExample: Enter ")));
        QCOMPARE(asked.initial, QStringLiteral("me@x.org"));
        QCOMPARE(link->text(), QStringLiteral("mailto:me@x.org"));

        m_script->queueText(QString());
        trigger("EmailLink");
        QCOMPARE(link->text(), QStringLiteral("mailto:"));

        link->setText(QStringLiteral("http://x.org/#top"));
        m_script->queue(Answer::Ok);
        trigger("AnchorLink");
        QCOMPARE(m_script->asked().back().caption,
            QStringLiteral("Create an Anchor Link for this text.."));
        QCOMPARE(m_script->asked().back().text,
            QStringLiteral(
                "Specify the anchor point on this page that you want to jump to\nwhen "
                "the user of your web page clicks on the text.\n\nExample: Enter TopOfPage"));
        QCOMPARE(m_script->asked().back().initial, QStringLiteral("http://x.org/top"));
        QCOMPARE(link->text(), QStringLiteral("#http://x.org/top"));

        m_script->queueCancel();
        trigger("URLLink");
        QCOMPARE(
            m_script->asked().back().caption, QStringLiteral("Create a URL Link for this text.."));
        QCOMPARE(m_script->asked().back().initial, QStringLiteral("#http://x.org/top"));
        QCOMPARE(link->text(), QStringLiteral("#http://x.org/top"));
        m_script->queueText(QString());
        trigger("URLLink");
        QCOMPARE(link->text(), QString());
        click("Nextbtn");
        QCOMPARE(fields(0)[field::ParaLink], std::string());
    }

    void zoomEditors()
    {
        load({ Rec({ "Paragraph", "a", "some text", "2" }), Rec({ "HTML", "h", "<b>" }) });
        goTo(0);
        m_script->queueText(QString());
        click("ZoomImg");
        QCOMPARE(m_script->asked().back().caption, QStringLiteral("Paragraph.."));
        QCOMPARE(m_script->asked().back().initial, QStringLiteral("some text"));
        QCOMPARE(child<QPlainTextEdit>("ParaMemo")->toPlainText(), QString());
        click("Nextbtn");
        QCOMPARE(fields(0)[field::ParaText], std::string());
        m_script->queueText(QStringLiteral("<i>\n</i>"));
        click("HTMLZoomImg");
        QCOMPARE(m_script->asked().back().caption, QStringLiteral("HTML Editor.."));
        click("Nextbtn");
        QCOMPARE(fields(1)[field::HTMLCode], std::string("<i>{lf13}{lf10}</i>"));

        // Head code is a project value; a change of it is an unsaved change.
        m_w->saveProject();
        QVERIFY(!m_w->projectChanged());
        m_script->queueText(QStringLiteral("<meta a>\n<meta b>"));
        trigger("InsertHeadCode1");
        QCOMPARE(m_script->asked().back().caption, QStringLiteral("Insert Your Head Code Here.."));
        QCOMPARE(m_w->project().headCode, std::string("<meta a>\r\n<meta b>"));
        QVERIFY(m_w->projectChanged());
        m_script->queueText(QString());
        trigger("InsertHeadCode1");
        QVERIFY(!m_w->projectChanged());
    }

    void everyKindOpensItsOwnPage()
    {
        std::vector<std::string> records;
        for (int k = 0; k < KindCount; ++k)
            records.push_back(newSectionRecord(k));
        load(records);
        for (const SectionKind &kind : SectionKinds) {
            goTo(static_cast<int>(kind.position));
            QCOMPARE(m_w->visiblePage(), WizardWindow::sectionPageIndex(kind.position));
            QCOMPARE(qobject_cast<QStackedWidget *>(child<QWidget>("Pages"))
                         ->currentWidget()
                         ->objectName(),
                QString::fromLatin1(kind.name.data(), static_cast<qsizetype>(kind.name.size())));
        }
    }

    void unknownKindSurvivesNavigation()
    {
        const std::string odd = Rec({ "Mystery", "lbl", "x", "y", "{END}", "z" });
        load({ odd, Rec({ "Anchor", "a", "n", "t", "1" }) });
        goTo(0);
        QCOMPARE(m_w->visiblePage(), int(WizardWindow::UnknownKindIndex));
        QCOMPARE(position(), QStringLiteral("Section 3, Mystery"));
        QCOMPARE(labelPanel(), QStringLiteral("lbl"));
        click("Nextbtn");
        QCOMPARE(position(), QStringLiteral("Section 4, Anchor"));
        click("Backbtn");
        click("Backbtn");
        click("Nextbtn");
        click("Nextbtn");
        QCOMPARE(sections()[0], odd);
        QVERIFY(!m_w->projectChanged());

        // A new label is the only thing written into it.
        click("Backbtn");
        m_script->queueText(QStringLiteral("new"));
        click("LabBtn");
        QCOMPARE(fields(0, 3), (std::vector<std::string> { "Mystery", "new", "x", "y" }));
    }

    void userLabelAndTypedNoBreakSpace()
    {
        goTo(0);
        click("Acceptbtn");
        m_script->queueText(QStringLiteral("Top") + QChar(0xA0) + QStringLiteral("part"));
        click("LabBtn");
        const auto &asked = m_script->asked().back();
        QCOMPARE(asked.caption, QStringLiteral("User Defined Label.."));
        QCOMPARE(asked.text,
            QStringLiteral("Enter a unique label for this page.\n\nThis may then be "
                           "used later to refer directly to this page."));
        QCOMPARE(asked.initial, QStringLiteral("Untitled"));
        child<QLineEdit>("HeadingEdit")
            ->setText(QStringLiteral("a") + QChar(0xA0) + QStringLiteral("b"));
        click("Nextbtn");
        QCOMPARE(fieldCount(sections()[0]), 10);
        QCOMPARE(fields(0)[field::UserLabel], std::string("Top part"));
        QCOMPARE(fields(0)[field::HeadingText], std::string("a b"));
    }

    void fileChoosersAndPlay()
    {
        load({ Rec({ "Image", "i" }), Rec({ "PlaySound", "s" }) });
        goTo(0);
        m_script->queueText(QStringLiteral("/pics/cat.gif"));
        click("ImageImg");
        const auto &asked = m_script->asked().back();
        QCOMPARE(asked.caption, QStringLiteral("Select An Image.."));
        QVERIFY(asked.text.startsWith(QStringLiteral("Images (")));
        QVERIFY(asked.text.endsWith(
            QStringLiteral("|GIF (*.gif)|*.gif|JPeg (*.jpg)|*.jpg|All Files (*.*)|*.*")));
        QCOMPARE(child<QLineEdit>("ImageEdit")->text(), QStringLiteral("/pics/cat.gif"));
        m_script->queueCancel();
        click("ImageImg");
        QCOMPARE(m_script->asked().back().initial, QStringLiteral("/pics/cat.gif"));
        QCOMPARE(child<QLineEdit>("ImageEdit")->text(), QStringLiteral("/pics/cat.gif"));
        QCOMPARE(child<QButtonGroup>("LinkTypeRGGroup")->checkedId(), 0);
        click("Nextbtn");
        QCOMPARE(fields(0)[field::ImageFile], std::string("/pics/cat.gif"));

        m_script->queueCancel();
        click("BrowseBtn");
        QCOMPARE(m_script->asked().back().caption, QStringLiteral("Locate A Wave Sound File.."));
        QCOMPARE(m_script->asked().back().text,
            QStringLiteral("Wave Files (*.wav)|*.wav|All Files (*.*)|*.*"));

        click("PlayBtn");
        const QString wav = path(QStringLiteral("ding.wav"));
        QVERIFY(writeWholeFile(wav.toStdString(), "RIFF").ok());
        child<QLineEdit>("SoundEdit")->setText(wav);
        click("PlayBtn");
        child<QLineEdit>("SoundEdit")->setText(path(QStringLiteral("none.wav")));
        click("PlayBtn");
        QCOMPARE(m_player.played,
            (QStringList { QStringLiteral("system:SystemStart"), QStringLiteral("file:") + wav }));
    }

    // A relative sound file plays from the project's folder, as the written page finds it,
    // not from the working folder; one that is not there is said, not passed over.
    void playFindsTheSoundBesideTheProject()
    {
        const QString site = path(QStringLiteral("site/"));
        const QString name = QStringLiteral("sounds/Łódź.wav");
        for (const QString &folder : { site, path(QStringLiteral("./")) }) // the second a decoy
            QVERIFY(QDir(folder).mkpath(QStringLiteral("sounds"))
                && writeWholeFile((folder + name).toStdString(), "RIFF").ok());
        const QString working = QDir::currentPath();
        QDir::setCurrent(path(QString()));
        load({ Rec({ "PlaySound", "s", storedPath(name.toStdString()), "0", "0", "1", "0" }) },
            QStringLiteral("site/p.stv"));
        goTo(0);
        click("PlayBtn");
        child<QLineEdit>("SoundEdit")->setText(QStringLiteral("sounds/gone.wav"));
        click("PlayBtn");
        QDir::setCurrent(working);
        QCOMPARE(m_player.played, QStringList { QStringLiteral("file:") + site + name });
        QCOMPARE(m_script->messages(),
            std::vector<QString> { QStringLiteral("The sound file %1 cannot be found.")
                                       .arg(site + QStringLiteral("sounds/gone.wav")) });
    }

    void imageTemplateAndOutOfRangeChoice()
    {
        load({ Rec({ "Image", "i", "", "0", "", "", "", "9" }) });
        goTo(1);
        child<QListWidget>("SelectBox")->setCurrentRow(2);
        click("Acceptbtn");
        // The template's empty link type reads as 0; its "-1" flags are ticked and stored as "1".
        QCOMPARE(child<QButtonGroup>("LinkTypeRGGroup")->checkedId(), 0);
        QVERIFY(child<QCheckBox>("ImportImageCB")->isChecked());
        click("Nextbtn");
        QCOMPARE(fields(1)[field::ImageLinkType], std::string("0"));
        QCOMPARE(fields(1)[field::ImageImport], std::string("1"));
        QCOMPARE(fields(1)[field::ImageLinkBorder], std::string("1"));
        // A stored choice out of range leaves nothing chosen, which is stored as "-1".
        click("Backbtn");
        click("Backbtn");
        QCOMPARE(child<QButtonGroup>("LinkTypeRGGroup")->checkedId(), -1);
        click("Nextbtn");
        QCOMPARE(fields(0)[field::ImageLinkType], std::string("-1"));
    }

    void swatchPictureButtonsOpenTheColourDialog()
    {
        load({ Rec({ "Heading", "h", "t", "2", "0", "0", "0", "0", "0", "255" }),
            Rec({ "Divider", "d", "0", "1", "100", "0" }), Rec({ "List", "l" }) });
        goTo(0);
        m_script->queueColour(QColor(0, 128, 0));
        click("ColorImg");
        QCOMPARE(m_script->asked().back().initial, QStringLiteral("#ff0000"));
        click("Nextbtn");
        m_script->queueColour(QColor(0, 0, 255));
        click("DivColImg");
        click("Nextbtn");
        m_script->queueCancel();
        click("ListColImg");
        click("Nextbtn");
        QCOMPARE(fields(0)[field::HeadingColour], std::string("32768"));
        QCOMPARE(fields(1)[field::DividerColour], std::string("16711680"));
        QCOMPARE(fields(2)[field::ListColour], std::string("0"));
    }

    void pageStoreNeverWritesAnotherKind()
    {
        // The list changes under the shown page (as a Section Manager paste may do) and the
        // page is stored before being shown again: the other record stays as it is.
        const std::string anchor = Rec({ "Anchor", "a", "n", "t", "1" });
        load({ Rec({ "Heading", "h", "t", "2" }), anchor });
        goTo(0);
        child<QLineEdit>("HeadingEdit")->setText(QStringLiteral("typed"));
        m_w->sectionList().erase(m_w->sectionList().begin());
        m_w->storeCurrentPage();
        QCOMPARE(sections()[0], anchor);
    }

    void toggleSectionManager()
    {
        click("ManagerImg");
        QCOMPARE(m_script->messages().size(), 1u);
        QWidget manager;
        m_w->setSectionManagerWindow(&manager);
        click("ManagerImg");
        QVERIFY(manager.isVisible());
        click("ManagerImg");
        QVERIFY(!manager.isVisible());
    }

    void toolsTicksAndBackgroundImageChooser()
    {
        QVERIFY(m_w->pageOptions().siteLastUpdated && m_w->pageOptions().updateBlack);
        trigger("UpdateBlack1");
        QVERIFY(!m_w->pageOptions().updateBlack);
        QVERIFY(m_w->pageOptions().siteLastUpdated);
        goTo(-1);
        m_script->queueText(QStringLiteral("/pics/tile.gif"));
        click("BackImg");
        QCOMPARE(m_script->asked().back().caption, QStringLiteral("Select a background image.."));
        QCOMPARE(m_w->project().backgroundImage, std::string("/pics/tile.gif"));
        QVERIFY(m_w->projectChanged());
    }
};

QTEST_MAIN(WizardWindowTest)
#include "WizardWindowTest.moc"
