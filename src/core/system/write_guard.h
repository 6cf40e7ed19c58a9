#pragma once

#include <QString>

// Keeps the files the program has open as catalogues safe from its own
// writers. A command that writes a file (an export, a cover, a workbook, a
// snapshot) asks checkOutputFile() first, so that no output name, symbolic
// link or hard link can lead it onto the catalogue it works on.

// Marks the file at a path as one that is never written over, for as long
// as the mark lives. The file is known by its device and inode, as it is
// when the mark is made; a path that names no file marks nothing.
class GuardedFile {
public:
    GuardedFile() = default;
    explicit GuardedFile(const QString& path);
    ~GuardedFile();
    GuardedFile(GuardedFile&& other) noexcept;
    GuardedFile& operator=(GuardedFile&& other) noexcept;
    GuardedFile(const GuardedFile&) = delete;
    GuardedFile& operator=(const GuardedFile&) = delete;

private:
    void release();

    bool m_marked = false;
    quint64 m_device = 0;
    quint64 m_inode = 0;
};

// Whether two paths name the same file once every symbolic link is
// followed: the same device and inode. False when either names no file.
bool isSameFile(const QString& first, const QString& second);

// Fails (a Failure saying so) when writing to `path` would write onto a
// guarded file: when the path, once symbolic links are followed, names the
// same device and inode.
void checkOutputFile(const QString& path);
