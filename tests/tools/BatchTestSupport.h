#pragma once

// Runs velt-batch in-process and keeps what it wrote.

#include <QBuffer>
#include <QByteArray>
#include <QLocale>
#include <QStringList>

#include "BatchRun.h"

namespace velt::batch {

struct BatchResult {
    int code = -1;
    QByteArray out;
    QByteArray err;
};

inline BatchResult runInProcess(const QStringList& arguments,
                                const QLocale& locale = QLocale(QLocale::English, QLocale::UnitedStates))
{
    QBuffer out, err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    BatchResult r;
    r.code = runBatch(arguments, locale, {out, err, false});
    r.out = out.data();
    r.err = err.data();
    return r;
}

inline QString batchData(const QString& name)
{
    return QStringLiteral(VELT_TEST_DATA "/batch/") + name;
}

} // namespace velt::batch
