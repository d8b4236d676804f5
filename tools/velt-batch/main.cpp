// velt-batch: the segment-file processing of the windows, from the command line.

#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QLocale>

#include "BatchRun.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("VELT"));
    QCoreApplication::setOrganizationName(QStringLiteral("Tolvane"));

    QFile out, err;
    out.open(STDOUT_FILENO, QIODevice::WriteOnly);
    // Unbuffered, so that the progress line shows while a pass runs.
    err.open(STDERR_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);

    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    // QLocale::system() follows LC_ALL, LC_NUMERIC and LANG.
    return velt::batch::runBatch(arguments, QLocale::system(), {out, err, isatty(STDERR_FILENO) == 1});
}
