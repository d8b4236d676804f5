#pragma once

// velt-batch as a function: the whole run (arguments, import, pipeline, colours, output)
// without widgets, so that main() stays tiny and tests call it in-process.

#include <QIODevice>
#include <QLocale>
#include <QString>
#include <QStringList>

namespace velt::batch {

enum ExitCode { ExitOk = 0, ExitUsage = 1, ExitError = 2 };

// Where a run writes. out takes the CSV unless -o names a file; err takes the status lines,
// the error messages and the usage text. With progress set, long passes show "\r<n>%" on
// err (main sets it when standard error is a terminal).
struct Streams {
    QIODevice& out;
    QIODevice& err;
    bool progress = false;
};

QString usageText();

// arguments: everything after the program name. locale: the user's regional settings that
// numbers are read and written with.
int runBatch(const QStringList& arguments, const QLocale& locale, Streams streams);

} // namespace velt::batch
