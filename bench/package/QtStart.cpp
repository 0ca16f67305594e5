// Starts a Qt Core program and ends it: the floor under the fixed cost of
// any run of mkpkg, which is a Qt Core program too.
#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    return 0;
}
