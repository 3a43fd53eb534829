// Renders every page of the wizard, with a sample section on each kind page, the text-options
// popup and the icon artwork, to PNG files: wizard_screenshots [output folder].
#include "core/project/Project.h"
#include "core/project/Records.h"
#include "gui/desktop/IconStrip.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/wizard/WizardWindow.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdio>

using namespace stv;

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(out);
    QTemporaryDir dir;
    setProgramFolder(dir.path());

    Project p;
    p.pageTitle = "Fred's Garden Railway";
    p.backgroundImage = "/home/fred/pictures/leaves.gif";
    p.sections = {
        joinFields({ "Heading", "Welcome", "Welcome to my railway", "4", "1", "0", "0", "0", "1",
            "8388608" }),
        joinFields({ "Paragraph", "Intro text",
            "The line runs all round the garden.{lf13}{lf10}Trains run every Sunday in summer.",
            "2", "1", "0", "0", "0", "1", "128", "0", "https://www.example.com/trains" }),
        joinFields({ "Image", "Engine", "/home/fred/pictures/engine.jpg", "3", "320", "200",
            "Our first engine", "1", "www.example.com", "0", "1", "1", "1" }),
        joinFields({ "Divider", "Rule", "32768", "4", "80", "1" }),
        joinFields({ "Anchor", "Timetable", "Timetable", "Timetable for this summer", "0" }),
        joinFields({ "List", "Stations", "Top Station", "#Top", "Pond Halt", "", "Shed Junction",
            "", "", "", "", "", "", "", "", "", "1", "3", "255" }),
        joinFields({ "Index", "Links",
            "My club{lf13}{lf10}https://club.example.org/{lf13}{lf10}Write "
            "to me{lf13}{lf10}mailto:fred@example.org",
            "2", "1", "0", "0", "0", "1", "0" }),
        joinFields({ "HTML", "Counter",
            "<p align=\"center\">{lf13}{lf10}  <img src=\"counter.gif\">{lf13}{lf10}</p>" }),
        joinFields(
            { "PlaySound", "Whistle", "/home/fred/sounds/whistle.wav", "1", "0", "1", "0", "1" }),
        joinFields({ "Mystery", "Hand-made", "x" }),
    };
    const QString file = dir.filePath(QStringLiteral("sample.stv"));
    if (!saveProjectFile(file.toStdString(), p).ok())
        return 1;

    WizardWindow w;
    w.resize(780, 540);
    w.show();
    if (!w.loadProjectFromPath(file))
        return 1;
    int shot = 0;
    auto save = [&](QWidget *widget, const QString &name) {
        QApplication::processEvents();
        const QString path
            = out + QStringLiteral("/%1_%2.png").arg(shot++, 2, 10, QLatin1Char('0')).arg(name);
        if (!widget->grab().save(path))
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    };
    const int count = static_cast<int>(w.project().sections.size());
    for (int pos = -3; pos <= count; ++pos) {
        w.setCurrentSection(pos);
        w.showCurrentSection();
        save(&w,
            w.findChild<QWidget *>(QStringLiteral("Pages"))->property("currentIndex").isValid()
                ? QStringLiteral("page%1").arg(w.visiblePage())
                : QStringLiteral("page"));
    }

    // The text-options popup, opened over the paragraph page.
    w.setCurrentSection(1);
    w.showCurrentSection();
    if (auto *pop = w.findChild<QMenu *>(QStringLiteral("ParaPop"))) {
        pop->popup(w.mapToGlobal(QPoint(300, 200)));
        save(pop, QStringLiteral("parapop"));
        pop->hide();
    }

    // The icon artwork, four times its size.
    QImage sheet(17 * 88 + 8, 96, QImage::Format_ARGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    for (int i = 0; i < StripIconCount; ++i) {
        painter.drawPixmap(QRect(8 + i * 88, 8, 80, 80), stripIcon(i));
    }
    painter.end();
    sheet.save(out + QStringLiteral("/icons_strip.png"));
    QImage buttons(12 * 72 + 8, 80, QImage::Format_ARGB32);
    buttons.fill(QColor(0x2f, 0x6f, 0xa8));
    painter.begin(&buttons);
    int i = 0;
    for (const char *name : { "view", "save", "saveas", "load", "create", "manager", "upload",
             "folder", "colour", "options", "zoom" })
        painter.drawPixmap(QRect(8 + 72 * i++, 8, 64, 64),
            QPixmap(QStringLiteral(":/icons/buttons/%1.png").arg(QLatin1String(name))));
    painter.drawPixmap(
        QRect(8 + 72 * i, 8, 64, 64), QPixmap(QStringLiteral(":/icons/sitorva.png")));
    painter.end();
    buttons.save(out + QStringLiteral("/icons_buttons.png"));
    return 0;
}
