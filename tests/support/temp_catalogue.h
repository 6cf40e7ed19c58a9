#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A scratch folder for a test: a program folder with a template catalogue,
// a data folder, and helpers to make and read catalogue files directly
// with SQLite (independently of the program's own data-access layer).
class TempCatalogue {
public:
    TempCatalogue();

    QString root() const { return m_dir.path(); }
    QString programFolder() const { return m_dir.path() + QStringLiteral("/program"); }
    QString dataFolder() const { return m_dir.path() + QStringLiteral("/data"); }
    QString catalogueFile() const {
        return dataFolder() + QStringLiteral("/Tarnwick/Reelkeeper/dbDVD.mdb");
    }
    QString templateFile() const { return programFolder() + QStringLiteral("/dbDVD.mdb"); }

    // Writes an empty catalogue with the program's schema at path.
    static void createCatalogue(const QString& path);
    // Puts an empty catalogue at catalogueFile() (folders created).
    void createInstalledCatalogue() const;
    // Puts movies into the file directly, each its fields in the catalogue's
    // order (title, year, genre, cast, director, runtime, rating, studio);
    // the values are bound, and fields left out or null stay NULL.
    static void addMovies(const QString& path, const QList<QStringList>& movies);
    // Puts in one movie per title, the other fields NULL.
    static void addTitles(const QString& path, const QStringList& titles);
    // Runs SQL on a file directly; fails the test on error.
    static void exec(const QString& path, const QString& sql);
    // Every row of "select <columns> from dvd order by id", cells joined by '|'.
    static QStringList rows(const QString& path, const QString& columns = QStringLiteral("*"));

    // A digest of every row of the dvd table (all columns, in id order).
    static QByteArray checksum(const QString& path);
    // The result of "PRAGMA quick_check" ("ok" for a sound file).
    static QString quickCheck(const QString& path);
    static QByteArray fileBytes(const QString& path);

private:
    QTemporaryDir m_dir;
};
