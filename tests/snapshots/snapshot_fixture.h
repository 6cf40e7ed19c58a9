#pragma once

#include "core/snapshots/snapshot_store.h"
#include "core/snapshots/sqlite_file.h"
#include "support/temp_catalogue.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sqlite3.h>
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
    void addMovies(int count, const QString& file = {}) {
        const SqliteFile db(file.isEmpty() ? catalogue : file, SqliteFile::Access::ReadWrite);
        sqlite3_exec(db.handle(), "begin", nullptr, nullptr, nullptr);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db.handle(),
                           "insert into dvd (title, year, cast, studio) values (?, ?, ?, ?)", -1,
                           &insert, nullptr);
        for (int i = 0; i < count; ++i) {
            const QByteArray title = "Movie " + QByteArray::number(i * 7919 % 100003);
            const QByteArray cast = QByteArray(120, char('a' + i % 26));
            sqlite3_bind_text(insert, 1, title.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(insert, 2, 1900 + i % 120);
            sqlite3_bind_text(insert, 3, cast.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 4, "Studio", -1, SQLITE_STATIC);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_exec(db.handle(), "commit", nullptr, nullptr, nullptr);
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
    static QString inChild(const std::function<QString()>& work, bool unprivileged = false) {
        int ends[2];
        if (pipe(ends) != 0) {
            return QStringLiteral("no pipe");
        }
        const pid_t pid = startChild(
            [&] {
                QByteArray result;
                try {
                    result = work().toUtf8();
                } catch (const Failure& failure) {
                    result = "failed: " + failure.description().toUtf8();
                }
                [[maybe_unused]] const auto written = write(ends[1], result.data(), result.size());
            },
            unprivileged);
        close(ends[1]);
        QByteArray result;
        char buffer[4096];
        for (ssize_t n; (n = read(ends[0], buffer, sizeof buffer)) > 0;) {
            result.append(buffer, n);
        }
        close(ends[0]);
        const int status = waitFor(pid);
        return status == 0 ? QString::fromUtf8(result)
                           : QStringLiteral("child ended with status %1").arg(status);
    }

    QTemporaryDir dir{QStringLiteral("/tmp/reelkeeper-snapshots-XXXXXX")};
    QString catalogue = dir.path() + QStringLiteral("/dbDVD.mdb");
    QDateTime now{QDate(2024, 3, 5), QTime(14, 15, 16)};
};
