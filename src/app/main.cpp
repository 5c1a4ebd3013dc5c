#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    std::fputs("usage: sarvonex -fJOB.ini -r -s\n", stderr);
    return 2;
}
