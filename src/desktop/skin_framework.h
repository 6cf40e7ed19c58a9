#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

// The skin component: a Qt style sheet read from a skin file and applied to
// a window, with a few options that shape how it is applied. Qt reads the
// sheet; the component checks the file first (StyleSheet::checkedText).
class SkinFramework : public QObject {
    Q_OBJECT
public:
    enum Option {
        // Windows the program opens on their own while the skinned window is
        // up (dialogs without a parent, message boxes) take the skin too;
        // windows opened over the skinned window always do.
        kSkinOtherWindows = 0x1,
    };

    explicit SkinFramework(QObject* parent = nullptr);

    // Loads the skin file, with a second style sheet layered on top of it
    // ("" for none). Fails with a description when a file cannot be read,
    // is larger than StyleSheet::kMaxBytes or is not a valid style sheet;
    // the skin loaded before stays then.
    void LoadSkin(const QString& skinFile, const QString& overlayFile);

    int ApplyOptions() const { return m_options; }
    void setApplyOptions(int flags) { m_options = flags; }
    // Lengths in pixels follow the screen's dpi (a skin is written for 96 dpi).
    void setScaleToScreen(bool on) { m_scaleToScreen = on; }
    // The window's own style sheet stays, with the skin after it; otherwise
    // the skin replaces it.
    void setKeepWindowSheet(bool on) { m_keepWindowSheet = on; }

    // Gives the window (and so every control on it) the skin. Fails when no
    // skin is loaded or there is no window.
    void ApplyWindow(QWidget* window);

    bool isLoaded() const { return !m_sheet.isEmpty(); }
    QString skinFile() const { return m_file; }
    // The skin's style sheet with the current options.
    QString styleSheet() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString m_sheet;
    QString m_file;
    int m_options = 0;
    bool m_scaleToScreen = false;
    bool m_keepWindowSheet = false;
    QPointer<QWidget> m_window;
    bool m_watchingWindows = false;
};
