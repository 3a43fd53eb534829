#include "gui/dialogs/DecisionBox.h"
#include "gui/dialogs/WindowPlacement.h"

#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

using namespace stv;

class DecideTest : public QObject
{
    Q_OBJECT
private slots:
    void showsTheFourItemsAndCentres();
    void chosenItemStaysWhateverTheButton();
    void outOfRangeItemsChooseTheFirst();
    void placesFromTheConfigurationMustBeReachable();
    void configurationGoesToAndComesFromTheWindows();
    void render();
};

void DecideTest::showsTheFourItemsAndCentres()
{
    DecisionBox box;
    QCOMPARE(box.windowTitle(), QStringLiteral("It`s decision time..."));
    QVERIFY(box.windowFlags() & Qt::Tool);
    auto *group = box.findChild<QGroupBox *>(QStringLiteral("DecideRG"));
    QVERIFY(group);
    QCOMPARE(group->title(), QStringLiteral("What do you want to do?"));
    const QStringList captions = {
        QStringLiteral("Open your last web page project"),
        QStringLiteral("Open an existing web page project"),
        QStringLiteral("Start a new web page project"),
        QStringLiteral("Don`t show this window again"),
    };
    for (int i = 0; i < 4; ++i)
        QCOMPARE(box.itemButton(i)->text(), captions[i]);
    QCOMPARE(box.acceptButton()->text(), QStringLiteral("&Accept"));
    QCOMPARE(box.cancelButton()->text(), QStringLiteral("Cancel"));
    QCOMPARE(box.itemIndex(), 0);

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(box.x(), (screen.width() - box.width()) / 2);
    QCOMPARE(box.y(), (screen.height() - box.height()) / 2);
}

void DecideTest::chosenItemStaysWhateverTheButton()
{
    DecisionBox box;
    QTimer::singleShot(0, &box, [&] {
        QTest::mouseClick(box.itemButton(3), Qt::LeftButton);
        QTest::mouseClick(box.cancelButton(), Qt::LeftButton);
    });
    QCOMPARE(box.exec(), int(QDialog::Rejected));
    QCOMPARE(box.itemIndex(), 3);

    QTimer::singleShot(0, &box, [&] {
        QTest::mouseClick(box.itemButton(1), Qt::LeftButton);
        QTest::mouseClick(box.acceptButton(), Qt::LeftButton);
    });
    QCOMPARE(box.exec(), int(QDialog::Accepted));
    QCOMPARE(box.itemIndex(), 1);
}

void DecideTest::outOfRangeItemsChooseTheFirst()
{
    DecisionBox box;
    box.setItemIndex(2);
    QCOMPARE(box.itemIndex(), 2);
    box.setItemIndex(9);
    QCOMPARE(box.itemIndex(), 0);
    box.setItemIndex(-1);
    QCOMPARE(box.itemIndex(), 0);
}

void DecideTest::placesFromTheConfigurationMustBeReachable()
{
    QWidget window;
    window.resize(300, 200);
    window.move(10, 10);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QVERIFY(placeWindow(&window, 40, 50, 165, 419));
    QCOMPARE(window.pos(), QPoint(40, 50));
    QCOMPARE(window.size(), QSize(165, 419));
    // Off every screen: place and size stay.
    QVERIFY(!placeWindow(&window, screen.right() + 500, 50, 400, 400));
    QVERIFY(!placeWindow(&window, 40, -400));
    QCOMPARE(window.pos(), QPoint(40, 50));
    QCOMPARE(window.size(), QSize(165, 419));
}

void DecideTest::configurationGoesToAndComesFromTheWindows()
{
    QWidget main, sm;
    DecisionBox box;
    const ConfiguredWindows windows { &main, &sm, &box };

    // No file: the designed places, item 0, both ticked.
    applyConfiguration(Configuration(), windows);
    QCOMPARE(main.pos(), QPoint(187, 45));
    QCOMPARE(sm.geometry(), QRect(18, 45, 165, 419));
    QCOMPARE(box.itemIndex(), 0);
    QCOMPARE(collectConfiguration(windows, PageOptions()), Configuration());

    Configuration saved
        = parseConfiguration({ "60", "200", "70", "20", "180", "400", "3", "0", "1" });
    applyConfiguration(saved, windows);
    QCOMPARE(main.pos(), QPoint(200, 60));
    QCOMPARE(sm.geometry(), QRect(20, 70, 180, 400));
    QCOMPARE(box.itemIndex(), 3);
    QCOMPARE(collectConfiguration(windows, saved.pageOptions), saved);

    // A main window saved on a screen that is gone stays where it is.
    saved.mainLeft = 100000;
    applyConfiguration(saved, windows);
    QCOMPARE(main.pos(), QPoint(200, 60));
}

void DecideTest::render()
{
    DecisionBox box;
    box.setItemIndex(1);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    const QString dir = QCoreApplication::applicationDirPath() + QStringLiteral("/shots");
    QDir().mkpath(dir);
    const QImage shot = box.grab().toImage();
    QVERIFY(shot.save(dir + QStringLiteral("/decide.png")));
    // The red title lies on the left of the black one: some red pixels in the title band.
    bool red = false;
    for (int y = 4; y < 52 && !red; ++y)
        for (int x = 0; x < shot.width() && !red; ++x) {
            const QColor c = shot.pixelColor(x, y);
            red = c.red() > 200 && c.green() < 60 && c.blue() < 60;
        }
    QVERIFY(red);
}

QTEST_MAIN(DecideTest)
#include "DecisionBoxTest.moc"
