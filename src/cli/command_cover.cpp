// reelkeeper-cli cover: store, fetch or remove a movie's cover.
#include "cli/cli.h"
#include "cli/command.h"
#include "cli/cover_from_bytes.h"
#include "core/covers/cover_limits.h"
#include "core/covers/cover_store.h"
#include "core/report/failure.h"
#include "core/system/regular_file.h"
#include "core/system/write_failure.h"
#include "core/system/write_guard.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>
#include <cerrno>

namespace {

const QString kUsage = QStringLiteral("set|get|remove ID [FILE]");
const QString kNoCover = QStringLiteral("Movie %1 has no cover.");
#ifdef REELKEEPER_CLI_SCALES_COVERS
const QString kSetDetails =
    QStringLiteral(", as it is when it has at most %1\n"
                   "                pixels on the longer side (and a PNG at most 1 MB);\n"
                   "                a larger one is scaled down and stored as JPEG (PNG\n"
                   "                when transparent), as the window does");
#else
const QString kSetDetails = QStringLiteral(", as it is (at most %1 pixels on the longer\n"
                                           "                side; the window converts and scales "
                                           "other images)");
#endif
const QString kWrittenAs = QStringLiteral("The cover is a %1 image: it was written to %2.");
const QString kOtherNameTaken =
    QStringLiteral("The cover is a %1 image and %2 already exists: name a %3 file to write it.");
// The endings an image file is named with; a cover is written under one
// of its own format's.
const QStringList kJpegSuffixes = {QStringLiteral("jpg"), QStringLiteral("jpeg"),
                                   QStringLiteral("jpe"), QStringLiteral("jfif")};
const QStringList kOtherImageSuffixes = {QStringLiteral("png"), QStringLiteral("gif"),
                                         QStringLiteral("bmp"), QStringLiteral("webp"),
                                         QStringLiteral("tif"), QStringLiteral("tiff")};

class CoverCommand : public Command {
public:
    QString name() const override { return QStringLiteral("cover"); }
    QString description() const override {
        return QStringLiteral("Store, fetch or remove a movie's cover.");
    }
    QString details() const override {
        return QStringLiteral(
                   "Actions:\n"
                   "  set ID FILE   store the JPEG or PNG image in FILE as the cover of\n"
                   "                movie ID%1\n"
                   "  get ID FILE   write the cover of movie ID to FILE ('-' for\n"
                   "                standard output); a FILE named for another image\n"
                   "                format gets the cover's own ending (.jpg or .png)\n"
                   "  remove ID     remove the cover of movie ID")
            .arg(kSetDetails.arg(CoverLimits::kLongerSide));
    }
    QString freeArguments() const override { return kUsage; }
    int run(const QCommandLineParser& parser, CommandContext& context) const override;
};

const CommandRegistration<CoverCommand> kRegistration;

int notUnderstood(const CommandContext& context, const QString& what) {
    return context.notUnderstood(QStringLiteral("cover"), what);
}

QByteArray readImageFile(const QString& path) {
    return readRegularFile(path, path, QStringLiteral("Could not read %1: %2"),
                           CoverLimits::kMaxFileBytes,
                           QStringLiteral("%1 is too large for a cover."));
}

Cover coverFromFile(const QString& path) {
    return coverFromBytes(readImageFile(path), path);
}

// Why movie id has no cover to fetch or remove: it has none, or there is no such movie.
QString whyNoCover(Catalogue& catalogue, qint64 id) {
    return catalogue.movie(QString::number(id)) ? kNoCover.arg(id) : kNoSuchMovie.arg(id);
}

// The file a cover of that format is written to when asked for `path`: the
// same, unless its name ends like another image format (a PNG cover asked
// for as "front.jpg" goes to "front.png").
QString pathForFormat(const QString& path, const QString& format) {
    const QString suffix = QFileInfo(path).suffix();
    const bool jpeg = kJpegSuffixes.contains(suffix, Qt::CaseInsensitive);
    const bool image = jpeg || kOtherImageSuffixes.contains(suffix, Qt::CaseInsensitive);
    const bool png = suffix.compare(QStringLiteral("png"), Qt::CaseInsensitive) == 0;
    if (!image || (format == QStringLiteral("jpeg") ? jpeg : png)) {
        return path;
    }
    return path.chopped(suffix.size()) +
           (format == QStringLiteral("jpeg") ? QStringLiteral("jpg") : format);
}

void writeCover(const Cover& cover, const QString& asked, CommandContext& context) {
    const QByteArray& bytes = cover.bytes;
    if (asked == QStringLiteral("-")) {
        if (context.out.write(bytes) != bytes.size()) {
            throw Failure(
                QStringLiteral("Could not write the cover: %1").arg(context.out.errorString()));
        }
        return;
    }
    const QString path = pathForFormat(asked, cover.format);
    const QString kind = cover.format.toUpper();
    if (path != asked && QFileInfo::exists(path)) {
        throw Failure(kOtherNameTaken.arg(kind, path, QFileInfo(path).suffix()));
    }
    checkOutputFile(path);
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        throw Failure(QStringLiteral("Could not write %1: %2")
                          .arg(path, writeFailureReason(path, file.errorString(), errno)));
    }
    if (path != asked) {
        context.err << QStringLiteral("reelkeeper-cli: ") << kWrittenAs.arg(kind, path) << '\n';
    }
}

int CoverCommand::run(const QCommandLineParser& parser, CommandContext& context) const {
    const QStringList arguments = parser.positionalArguments();
    const QString action = arguments.value(0);
    const qsizetype wanted = action == QStringLiteral("remove") ? 2 : 3;
    if (action.isEmpty()) {
        return notUnderstood(context, QStringLiteral("cover needs one of: %1.").arg(kUsage));
    }
    if (action != QStringLiteral("set") && action != QStringLiteral("get") &&
        action != QStringLiteral("remove")) {
        return notUnderstood(context, QStringLiteral("cover has no action '%1'.").arg(action));
    }
    if (arguments.size() != wanted) {
        return notUnderstood(context, QStringLiteral("cover %1 takes %2.")
                                          .arg(action, wanted == 2 ? QStringLiteral("ID")
                                                                   : QStringLiteral("ID FILE")));
    }
    qint64 id = 0;
    try {
        id = coverId(arguments.at(1));
    } catch (const Failure& failure) {
        return notUnderstood(context, failure.description());
    }

    Catalogue catalogue;
    if (action == QStringLiteral("get")) {
        context.openCatalogue(catalogue, Catalogue::Access::ReadOnly);
        const std::optional<Cover> cover = CoverStore(catalogue).get(id);
        if (!cover) {
            throw Failure(whyNoCover(catalogue, id));
        }
        writeCover(*cover, arguments.at(2), context);
        return Cli::kExitDone;
    }
    // Read the image before opening the catalogue, so a bad file changes nothing.
    const Cover cover = action == QStringLiteral("set") ? coverFromFile(arguments.at(2)) : Cover{};
    context.openCatalogue(catalogue, Catalogue::Access::ReadWrite);
    CoverStore store(catalogue);
    if (action == QStringLiteral("set")) {
        store.set(id, cover);
    } else if (!store.remove(id)) {
        throw Failure(whyNoCover(catalogue, id));
    }
    return Cli::kExitDone;
}

} // namespace
