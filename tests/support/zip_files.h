#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Zip archives in tests, through libzip.

// One part of an archive to write; stored parts keep their bytes as they are.
struct ZipPart {
    QString name;
    QByteArray bytes;
    bool stored = false;
};

// Writes an archive of the parts to path (replacing it); fails the calling test on error.
void writeZip(const QString& path, const QList<ZipPart>& parts);

// Whether the archive at path holds a part of that name.
bool zipHasPart(const QString& path, const QString& name);

// The unpacked bytes of one part; fails the calling test when it cannot be read.
QByteArray readZipPart(const QString& path, const QString& name);
