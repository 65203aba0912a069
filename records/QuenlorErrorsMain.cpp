#include "records/ErrorFileReport.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return runQuenlorErrors(app.arguments());
}
