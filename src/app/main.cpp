// Program entry: the command line, the program folder, then the splash window.
#include <QApplication>

#include "ProductInfo.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    InitApplicationMetadata();
    return 0;
}
