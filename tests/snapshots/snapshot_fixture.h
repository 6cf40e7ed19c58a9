#pragma once

#include "core/catalogue/catalogue.h"
#include "core/snapshots/snapshot_store.h"
#include "support/temp_catalogue.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

// A catalogue in a scratch folder under /tmp that every user may enter (so
// that a child running as an unprivileged user reaches it), and a store of
// its snapshots on a clock the test sets.
class SnapshotTest : public ::testing::Test {
protected:
    SnapshotTest() {
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                              QFile::ReadOther | QFile::ExeOther);
        TempCatalogue::createCatalogue(catalogue);
    }

    // Adds `count` movies with varied, long-ish texts in one transaction.
    void addMovies(int count) {
        QList<QStringList> movies;
        for (qint64 i = 1; i <= count; ++i) {
            movies.append({QStringLiteral("Movie %1").arg(i * 7919 % 100003),
                           QString::number(1900 + i % 120),
                           {},
                           QString(120, QChar(char16_t(u'a' + i % 26))),
                           {},
                           {},
                           {},
                           QStringLiteral("Studio")});
        }
        TempCatalogue::addMovies(catalogue, movies);
    }

    // Writes `bytes` into a file at `offset`, or as its whole content (-1).
    static void writeFile(const QString& path, const QByteArray& bytes, qint64 offset = -1) {
        QFile file(path);
        ASSERT_TRUE(file.open(offset < 0 ? QIODevice::WriteOnly : QIODevice::ReadWrite));
        file.seek(std::max<qint64>(offset, 0));
        file.write(bytes);
    }
    SnapshotStore store() const {
        return SnapshotStore(catalogue, [this] { return now; });
    }
    QStringList folderFiles() const {
        return QDir(store().folder()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    // Runs `work` in a forked child, as user nobody when `unprivileged` and
    // this is root. The child ends with 0 when `work` returns, 1 when it throws.
    static pid_t startChild(const std::function<void()>& work, bool unprivileged = false) {
        const pid_t pid = fork();
        if (pid == 0) {
            if (unprivileged && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
                _exit(2);
            }
            try {
                work();
            } catch (const Failure&) {
                _exit(1);
            }
            _exit(0);
        }
        return pid;
    }
    static int waitFor(pid_t pid) {
        int status = 0;
        waitpid(pid, &status, 0);
        return status;
    }
    // What `work` returned in a child, or "failed: <description>".
    QString inChild(const std::function<QString()>& work, bool unprivileged = false) const {
        const QString answer = dir.path() + QStringLiteral("/answer.txt");
        QFile(answer).open(QIODevice::WriteOnly); // empty, and writable by the child
        QFile::setPermissions(answer, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther |
                                          QFile::WriteOther);
        const int status = waitFor(startChild(
            [&] {
                QString result;
                try {
                    result = work();
                } catch (const Failure& failure) {
                    result = QStringLiteral("failed: ") + failure.description();
                }
                QFile file(answer);
                file.open(QIODevice::WriteOnly | QIODevice::Truncate);
                file.write(result.toUtf8());
            },
            unprivileged));
        return status == 0 ? QString::fromUtf8(TempCatalogue::fileBytes(answer))
                           : QStringLiteral("child ended with status %1").arg(status);
    }

    QTemporaryDir dir{QStringLiteral("/tmp/reelkeeper-snapshots-XXXXXX")};
    QString catalogue = dir.path() + QStringLiteral("/dbDVD.mdb");
    QDateTime now{QDate(2024, 3, 5), QTime(14, 15, 16)};
};
