#pragma once

#include <QString>

// The system clipboard: emptied, or given a text. Either operation fails
// (throws Failure) when the clipboard cannot be reached; callers retry.
class Clipboard {
public:
    // The platform's default text format.
    static constexpr int kDefaultTextFormat = 0;

    virtual ~Clipboard() = default;
    virtual void clear() = 0;
    // Puts the text on the clipboard in the platform's default text format.
    virtual void setText(const QString& text) = 0;
    // Puts the text on the clipboard in the numbered format.
    virtual void setText(const QString& text, int format) = 0;
};

// The real clipboard (QClipboard). The numbered formats that mean plain text
// (1 text, 7 OEM text, 13 Unicode text) are taken as the default text format;
// any other number is refused.
class SystemClipboard : public Clipboard {
public:
    void clear() override;
    void setText(const QString& text) override;
    void setText(const QString& text, int format) override;
};
