#include "core/formats/utf8_text.h"

#include <QStringDecoder>

QString fromUtf8KeepingMark(QByteArrayView bytes) {
    static constexpr char kMark[] = "\xEF\xBB\xBF";
    // The first byte alone rules out the mark for nearly every value.
    if (!bytes.isEmpty() && bytes.front() == kMark[0] && bytes.startsWith(QByteArrayView(kMark))) {
        QStringDecoder keepingMark(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        return keepingMark.decode(bytes);
    }
    return QString::fromUtf8(bytes);
}
