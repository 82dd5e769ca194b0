#include <QApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    std::fputs("velmora2: the windows are not built yet; play with velmora2-play.\n", stderr);
    return 0;
}
