// Shows the program's windows as a newcomer first sees them with the sample project open on
// its paragraph page, and saves the part of the screen they cover to a PNG file:
//   readme_shot [--dark] PROGRAM_FOLDER PROJECT.stv OUT.png
// --dark shows them as a desktop with a dark palette would (Fusion style).
// Meant to run on a real (virtual) display: tools/readme_screenshots runs it under xvfb-run.
#include "gui/desktop/Contrast.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/wizard/ProgramWindows.h"

#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QStyleFactory>
#include <QTimer>

#include <cstdio>

using namespace stv;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const bool dark = argc > 1 && QByteArray(argv[1]) == "--dark";
    if (dark) {
        --argc;
        ++argv;
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(darkPalette());
    }
    if (argc != 4) {
        std::fprintf(stderr, "usage: readme_shot [--dark] PROGRAM_FOLDER PROJECT.stv OUT.png\n");
        return 2;
    }
    QApplication::setApplicationName(QStringLiteral("Sitorva"));
    setProgramFolder(QString::fromLocal8Bit(argv[1]));
    const QString project = QString::fromLocal8Bit(argv[2]);
    const QString out = QString::fromLocal8Bit(argv[3]);

    ProgramWindows windows;
    WizardWindow &window = windows.window;
    SectionManagerWindow &sectionManager = windows.sectionManager;
    if (!window.loadProjectFromPath(project)) {
        std::fprintf(stderr, "cannot load %s\n", argv[2]);
        return 1;
    }
    // Introduction, title, background, heading, then the first paragraph.
    for (int i = 0; i < 4; ++i)
        window.goNext();

    // Without a window manager the windows stand where they are put, without frames.
    sectionManager.move(8, 8);
    sectionManager.show();
    window.move(sectionManager.frameGeometry().right() + 10, 8);
    window.show();

    int status = 1;
    QTimer::singleShot(1500, &app, [&] {
        const QRect area = sectionManager.frameGeometry()
                               .united(window.frameGeometry())
                               .adjusted(-8, -8, 8, 8)
                               .intersected(QGuiApplication::primaryScreen()->geometry());
        const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(
            0, area.x(), area.y(), area.width(), area.height());
        if (shot.save(out))
            status = 0;
        else
            std::fprintf(stderr, "cannot write %s\n", argv[3]);
        QApplication::exit(status);
    });
    QApplication::exec();
    return status;
}
