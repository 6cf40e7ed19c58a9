#include "desktop/skin_framework.h"

#include "core/report/failure.h"
#include "desktop/style_sheet.h"
#include "platform/twips.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>

namespace {

// The window's own sheet from before the skin, kept for setKeepWindowSheet.
constexpr char kOwnSheetProperty[] = "_rk_sheetBeforeSkin";

QString readSkinFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw Failure(
            QStringLiteral("The skin file %1 could not be read: %2").arg(path, file.errorString()));
    }
    // Read one byte past the limit, so that files without a size (pipes,
    // devices) are held to it too.
    const QByteArray bytes = file.read(StyleSheet::kMaxBytes + 1);
    if (bytes.size() > StyleSheet::kMaxBytes) {
        throw Failure(QStringLiteral("The skin file %1 is too large: a skin file holds at most "
                                     "%2 bytes.")
                          .arg(path)
                          .arg(StyleSheet::kMaxBytes));
    }
    try {
        return StyleSheet::checkedText(bytes);
    } catch (const Failure& failure) {
        throw Failure(QStringLiteral("The skin file %1 is not a valid style sheet: %2")
                          .arg(path, failure.description()));
    }
}

bool insideOf(const QWidget* widget, const QWidget* ancestor) {
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        if (w == ancestor) {
            return true;
        }
    }
    return false;
}

} // namespace

SkinFramework::SkinFramework(QObject* parent) : QObject(parent) {}

void SkinFramework::LoadSkin(const QString& skinFile, const QString& overlayFile) {
    QString sheet = readSkinFile(skinFile);
    if (!overlayFile.isEmpty()) {
        sheet += QLatin1Char('\n') + readSkinFile(overlayFile);
    }
    m_sheet = std::move(sheet);
    m_file = skinFile;
}

QString SkinFramework::styleSheet() const {
    return m_scaleToScreen ? StyleSheet::scaledPixelLengths(m_sheet, Twips::dotsPerInch() / 96.0)
                           : m_sheet;
}

void SkinFramework::ApplyWindow(QWidget* window) {
    if (window == nullptr) {
        throw Failure(QStringLiteral("There is no window to apply the skin to."));
    }
    if (!isLoaded()) {
        throw Failure(QStringLiteral("No skin has been loaded."));
    }
    if (!window->property(kOwnSheetProperty).isValid()) {
        window->setProperty(kOwnSheetProperty, window->styleSheet());
    }
    const QString own = window->property(kOwnSheetProperty).toString();
    const QString skin = styleSheet();
    window->setStyleSheet(m_keepWindowSheet && !own.isEmpty() ? own + QLatin1Char('\n') + skin
                                                              : skin);
    m_window = window;

    const bool watch = (m_options & kSkinOtherWindows) != 0;
    if (watch && !m_watchingWindows) {
        QCoreApplication::instance()->installEventFilter(this);
    } else if (!watch && m_watchingWindows) {
        QCoreApplication::instance()->removeEventFilter(this);
    }
    m_watchingWindows = watch;
}

bool SkinFramework::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && m_window) {
        auto* widget = qobject_cast<QWidget*>(watched);
        // Windows over the skinned one inherit its sheet already; a window
        // with a sheet of its own keeps it.
        if (widget != nullptr && widget->isWindow() && !insideOf(widget, m_window) &&
            widget->styleSheet().isEmpty()) {
            widget->setStyleSheet(styleSheet());
        }
    }
    return QObject::eventFilter(watched, event);
}
