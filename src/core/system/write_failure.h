#pragma once

#include <QByteArray>
#include <QString>

// Plain words for a write that failed.

// What a full disk, a full quota or the file-size limit (ulimit -f) is
// called, as the start of a sentence.
inline const QString kOutOfSpaceText =
    QStringLiteral("The disk is full or the file size limit was reached");

// Whether the system's error number is one of those.
bool isOutOfSpaceError(int error);

// The reason for a failed write of `path` as a person should read it:
// kOutOfSpaceText (in lower case) when the system's error number (errno as
// the write left it; 0 when not known) or the reason's own words name a
// full disk, a full quota or the file-size limit, or when the reason is
// unclear ("Unknown error", nothing) and the folder is full or a file-size
// limit is set. Any other reason stays as it is.
QString writeFailureReason(const QString& path, const QString& reason, int systemError = 0);

// The same for a file found incomplete just after it was written without
// any write reporting an error (libxlsxwriter does not check every write):
// a full folder or a file-size limit explains it; otherwise `reason` stays.
QString incompleteWriteReason(const QString& path, const QString& reason);

// Keeps what is printed on standard error while it lives, instead of letting
// it reach the terminal: libxlsxwriter prints its own "[ERROR]" lines there,
// and the program reports its failures in its own words. What was printed
// is available once the capture has ended.
class StderrCapture {
public:
    StderrCapture();
    ~StderrCapture();
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;

    // Puts standard error back and returns what was printed meanwhile.
    QByteArray end();

private:
    int m_saved = -1;
    int m_read = -1;
    QByteArray m_text;
};
