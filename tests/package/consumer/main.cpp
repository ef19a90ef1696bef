// A host built against the installed package: it links libdepotbase, opens an
// account through the kit it exports and initialises the component on it.
#include <component/LXWareHouse.h>

#include <QApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: consumer URL\n");
        return 2;
    }
    LXWareHouse warehouses;
    if (warehouses.SetBasicVersion(false).isValid())
        return 3;
    // An account without tables: the list cannot be opened, and Init says so.
    const auto login = dbkit::DbLogin::open(QString::fromLocal8Bit(argv[1]));
    const bool opened = warehouses.Init(login, true);
    std::printf("depotbase %s, list opened: %d\n", depotbase_version(), int(opened));
    return opened ? 4 : 0;
}
