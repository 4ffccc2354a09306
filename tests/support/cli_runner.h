#pragma once
// Runs zelvor-cli on a temporary program folder (GoogleTest programs of tests/cli).
#include <QCoreApplication>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <QFile>

#include "support/histories.h"
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

namespace zelvor::testing {

inline QByteArray readAll(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A program folder whose 中国福彩双色球 holds the three draws of kThreeDrawsFile.
class ThreeDrawsHome : public ::testing::Test {
protected:
    void SetUp() override
    {
        home.write("h.txt", kThreeDrawsFile);
        const CliRun r = cli(home, {"import", QStringLiteral("中国福彩双色球"), home.file("h.txt")});
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
    }
    TempHome home;
};

} // namespace zelvor::testing
