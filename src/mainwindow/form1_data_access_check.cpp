// The start-up check of the data-access layer and its repair.
#include "mainwindow/form1.h"

#include "core/catalogue/connection.h"
#include "core/catalogue/data_access.h"
#include "core/report/error_trap.h"
#include "core/report/message_boxes.h"
#include "core/system/program_end.h"
#include "core/system/run_and_wait.h"
#include "core/system/shell.h"
#include "core/system/system_info.h"

namespace {

const QString kKnowledgeBaseAddress = QStringLiteral("https://support.microsoft.com/kb/2640696");

const QString kRepairQuestion =
    QStringLiteral("Error #193: ADO is not properly installed on this computer. ") +
    QStringLiteral("\r\n") +
    QStringLiteral("You need to have it installed to use this software without error.") +
    QStringLiteral("\r\n\r\n") + QStringLiteral("Would you like to repair it now?");

QString guidanceMessage() {
    return QStringLiteral("Please check for MDAC installation.") + QStringLiteral("\r\n\r\n") +
           QStringLiteral("Please check this: ") + kKnowledgeBaseAddress +
           QStringLiteral(" and look for 'How to obtain this update' section and download the "
                          "appropriate update.") +
           QStringLiteral("\r\n\r\n") + QStringLiteral("Please email ") +
           QLatin1String(kSupportAddress) +
           QStringLiteral(" with a screenshot of this message if you have any questions.");
}

const QString kStopQuestion =
    QStringLiteral("ADO is fixed on this computer. ") + QStringLiteral("\r\n") +
    QStringLiteral("You need to restart your computer and software.") + QStringLiteral("\r\n\r\n") +
    QStringLiteral("Would you like to stop software now?");

const QString kPackage64 = QStringLiteral("ADOFix64.msu");
const QString kPackageOther = QStringLiteral("ADOFix86.msu");
constexpr int kHiddenWindow = 0;

// The check carries on past every failure without a word.
template <class F> void skippingFailure(F&& step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

} // namespace

void Form1::IsADOInstalled() {
    MessageBoxes& boxes = m_services.boxes;
    std::unique_ptr<Connection> connection;
    std::unique_ptr<Recordset> recordset;
    skippingFailure([&] { connection = m_services.dataAccess.createConnection(); });
    skippingFailure([&] { recordset = m_services.dataAccess.createRecordset(); });

    if (!connection || !recordset) {
        Answer answer = Answer::No; // a question that fails counts as No
        skippingFailure([&] { answer = boxes.ask(kRepairQuestion); });
        if (answer != Answer::Yes) {
            skippingFailure([&] { boxes.tell(guidanceMessage()); });
        } else {
            QString package;
            skippingFailure([&] { package = m_services.shell.programFolder() + QLatin1Char('/'); });
            QString width;
            skippingFailure([&] { width = GetProcessorAddressWidth(m_services.systemInfo); });
            package += width == QLatin1String("64") ? kPackage64 : kPackageOther;
            if (Shell::exists(package)) {
                skippingFailure(
                    [&] { Shell32::RunAndWait(m_services.processes, package, kHiddenWindow); });
                Answer stop = Answer::No;
                skippingFailure([&] { stop = boxes.ask(kStopQuestion); });
                if (stop == Answer::Yes) {
                    m_services.programEnd.End();
                }
            }
        }
    }
    recordset.reset();
    connection.reset();
}
