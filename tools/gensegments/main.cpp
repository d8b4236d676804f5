// gensegments: writes a synthetic segment file, for benchmarks and manual testing.

#include <cstdio>
#include <cstdlib>

#include <QFile>
#include <QString>

#include "gensegments/Generator.h"

namespace {

int usage()
{
    std::fputs("usage: gensegments [--rows N] [--seed S] [--layout ftdna|comparison|profile|name]\n"
               "                   [--encoding utf8|utf8-bom|ansi] [-o FILE]\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    velt::gen::Options options;
    QString output;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (i + 1 >= argc)
            return usage();
        const QString value = QString::fromLocal8Bit(argv[++i]);
        bool ok = true;
        if (arg == "--rows")
            options.rows = value.toLongLong(&ok);
        else if (arg == "--seed")
            options.seed = value.toULongLong(&ok);
        else if (arg == "--layout")
            ok = velt::gen::parseLayout(value, &options.layout);
        else if (arg == "--encoding")
            ok = velt::gen::parseEncoding(value, &options.encoding);
        else if (arg == "-o")
            output = value;
        else
            ok = false;
        if (!ok || options.rows < 0)
            return usage();
    }

    QFile file;
    const bool opened = output.isEmpty() ? file.open(stdout, QIODevice::WriteOnly)
                                         : (file.setFileName(output), file.open(QIODevice::WriteOnly));
    if (!opened || !velt::gen::writeSegments(options, file) || !file.flush()) {
        std::fprintf(stderr, "gensegments: %s\n", qPrintable(file.errorString()));
        return 1;
    }
    return 0;
}
