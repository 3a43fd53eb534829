#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sitorva"));
    std::fprintf(stderr, "Sitorva: the wizard window is not built yet.\n");
    return 0;
}
