#include "core/system/system_info.h"

#include <QSysInfo>

std::vector<int> QtSystemInfo::processorAddressWidths() {
    const QString architecture = QSysInfo::currentCpuArchitecture();
    if (architecture.isEmpty()) {
        return {QSysInfo::WordSize};
    }
    const bool wide = architecture.endsWith(QLatin1String("64")) ||
                      architecture == QLatin1String("s390x") ||
                      architecture == QLatin1String("sparcv9");
    return {wide ? 64 : 32};
}

QString GetProcessorAddressWidth(SystemInfo& systemInfo) {
    QString width;
    for (const int processorWidth : systemInfo.processorAddressWidths()) {
        width = QString::number(processorWidth);
    }
    return width;
}
