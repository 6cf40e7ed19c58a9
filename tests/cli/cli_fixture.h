#pragma once

#include "cli/cli.h"
#include "core/system/shell.h"
#include "support/temp_catalogue.h"

#include <QBuffer>
#include <gtest/gtest.h>

// reelkeeper-cli run in-process on a scratch folder, its output and messages
// caught.
class CliTest : public ::testing::Test {
protected:
    int run(const QStringList& arguments) {
        out.setData({});
        err.setData({});
        out.open(QIODevice::WriteOnly);
        err.open(QIODevice::WriteOnly);
        const int status = Cli::run(arguments, out, err, shell);
        out.close();
        err.close();
        return status;
    }
    // The same on the catalogue file given.
    int runOn(const QString& catalogue, const QStringList& arguments) {
        return run(QStringList{QStringLiteral("--catalogue"), catalogue} + arguments);
    }
    QString errText() const { return QString::fromUtf8(err.data()); }
    QString outText() const { return QString::fromUtf8(out.data()); }

    TempCatalogue dirs;
    Shell shell{dirs.programFolder(), dirs.dataFolder()};
    QBuffer out;
    QBuffer err;
};
