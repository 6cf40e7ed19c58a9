// A catalogue the user may not write: saves are refused with a report, the
// typed movie stays in the editor, and nothing stored changes. Tests run as
// root in CI, which ignores file permissions, so there each case runs again
// in a child process as an unprivileged user.
#include "fault_fixture.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <unistd.h>

namespace {

constexpr char kChildFlag[] = "REELKEEPER_UNPRIVILEGED_CHILD";
constexpr uid_t kNobody = 65534;

// Runs this test again as user and group 65534; returns the child's output
// when it failed, "" when it passed.
QString runUnprivileged(const QString& testName) {
    // A copy of the test program in a folder everybody may read, wherever the build is.
    // /tmp itself, not $TMPDIR, which may be a folder only root can enter.
    QTemporaryDir shelf(QStringLiteral("/tmp/reelkeeper-faults-XXXXXX"));
    shelf.setAutoRemove(true);
    const QString program = shelf.path() + QStringLiteral("/faults");
    if (!QFile::copy(QCoreApplication::applicationFilePath(), program)) {
        return QStringLiteral("cannot copy the test program");
    }
    QFile::setPermissions(shelf.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                            QFile::ReadOther | QFile::ExeOther);
    QFile::setPermissions(program,
                          QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QLatin1String(kChildFlag), QStringLiteral("1"));
    env.insert(QStringLiteral("HOME"), QStringLiteral("/tmp"));
    env.insert(QStringLiteral("TMPDIR"), QStringLiteral("/tmp"));
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    env.remove(QStringLiteral("LSAN_OPTIONS")); // its suppressions file may be out of reach
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QStringLiteral("setpriv"),
                {QStringLiteral("--reuid=%1").arg(kNobody),
                 QStringLiteral("--regid=%1").arg(kNobody), QStringLiteral("--clear-groups"),
                 program, QStringLiteral("--gtest_filter=") + testName});
    if (!child.waitForFinished(120000)) {
        child.kill();
        return QStringLiteral("the unprivileged run did not finish: ") + child.errorString();
    }
    const QString output = QString::fromLocal8Bit(child.readAll());
    const bool passed = child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0 &&
                        output.contains(QStringLiteral("[  PASSED  ] 1 test"));
    return passed ? QString() : output;
}

class ReadOnly : public FaultTest {
protected:
    // True when this process is the one that should check (not root, or the child).
    bool checkHere() {
        if (geteuid() != 0 || qEnvironmentVariableIsSet(kChildFlag)) {
            return true;
        }
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        const QString failure = runUnprivileged(QString::fromUtf8(info->test_suite_name()) +
                                                QLatin1Char('.') + QString::fromUtf8(info->name()));
        EXPECT_TRUE(failure.isEmpty()) << failure.toStdString();
        return false;
    }

    // Starts over a catalogue of three movies made unwritable by `lock`, tries a save.
    void expectSaveRefused(const std::function<void()>& lock) {
        writeCatalogue(3);
        const QByteArray rowsBefore = TempCatalogue::checksum(h.catalogue());
        lock();
        Form1& form = h.start();
        EXPECT_EQ(reportCount(), 0); // reading still works
        EXPECT_EQ(form.ListView1().items().itemCount(), 3);

        EXPECT_TRUE(
            addThroughEditor({QStringLiteral("Kept in the editor"), QStringLiteral("2001")}));
        ASSERT_EQ(reportCount(), 1);
        EXPECT_TRUE(h.boxes.errorReports()[0].text.contains(
            QStringLiteral("Form2.PushButton1_Click at line 104")));
        EXPECT_EQ(form.ListView1().items().itemCount(), 3);
        EXPECT_EQ(TempCatalogue::checksum(h.catalogue()), rowsBefore);
        EXPECT_EQ(TempCatalogue::quickCheck(h.catalogue()), QStringLiteral("ok"));
    }
    QString catalogueFolder() const { return QFileInfo(h.catalogue()).path(); }
};

TEST_F(ReadOnly, CatalogueFileRefusesSaves) {
    if (checkHere()) {
        expectSaveRefused(
            [&] { QFile::setPermissions(h.catalogue(), QFile::ReadOwner | QFile::ReadOther); });
        EXPECT_FALSE(QFileInfo(h.catalogue()).isWritable());
    }
}

TEST_F(ReadOnly, CatalogueFolderRefusesSaves) {
    if (checkHere()) {
        expectSaveRefused(
            [&] { QFile::setPermissions(catalogueFolder(), QFile::ReadOwner | QFile::ExeOwner); });
        QFile::setPermissions(catalogueFolder(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

} // namespace
