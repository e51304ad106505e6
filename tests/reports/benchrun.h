// Runs the built tallyra-bench with arguments and keeps what it said.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

struct BenchOutcome {
    int code = -1;
    QString out, err;
};

inline BenchOutcome runBench(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(TALLYRA_BENCH), args);
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}
