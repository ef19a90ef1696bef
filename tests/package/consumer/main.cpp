// A host built against the installed package: it links libdepotbase, opens an
// account through the kit it exports and initialises the component on it.
#include <component/LXWareHouse.h>
#include <component/OperatorRights.h>

#include <QApplication>
#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: consumer URL\n");
        return 2;
    }
    // The library and its CMake package tell the same version and description.
    if (std::strcmp(depotbase_version(), PACKAGE_VERSION) != 0
        || std::strcmp(depotbase_description(), PACKAGE_DESCRIPTION) != 0) {
        std::fprintf(stderr, "library %s %s, package %s %s\n", depotbase_version(),
                     depotbase_description(), PACKAGE_VERSION, PACKAGE_DESCRIPTION);
        return 5;
    }
    LXWareHouse warehouses;
    if (warehouses.SetBasicVersion(false).isValid())
        return 3;
    // An account without tables: the list cannot be opened, and Init says so.
    const auto login = dbkit::DbLogin::open(QString::fromLocal8Bit(argv[1]));
    const bool opened = warehouses.Init(login, true);
    std::printf("depotbase %s %s, list opened: %d\n", depotbase_version(),
                depotbase_description(), int(opened));
    if (opened)
        return 4;
    // Nor can its rights be checked: an error, never a denial.
    depotbase_rights *rights = depotbase_rights_open(argv[1]);
    const int status = depotbase_check_right(rights, "001", "01", nullptr, nullptr);
    depotbase_rights_close(rights);
    return status == DEPOTBASE_RIGHT_ERROR ? 0 : 6;
}
