#pragma once
// Runs zelvor-cli on a temporary program folder (GoogleTest programs of tests/cli).
#include <QCoreApplication>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include "support/temp_home.h"

namespace zelvor::testing {

struct CliRun {
    int status;
    QString out;
    QString err;
};

inline CliRun cli(const TempHome& home, const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(ZELVOR_CLI), QStringList{"--home", home.path()} + args);
    p.waitForFinished(240000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

} // namespace zelvor::testing
