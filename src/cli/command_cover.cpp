// reelkeeper-cli cover: store, fetch or remove a movie's cover.
#include "cli/cli.h"
#include "cli/command.h"
#include "core/covers/cover_limits.h"
#include "core/covers/cover_store.h"
#include "core/covers/image_check.h"
#include "core/covers/image_header.h"
#include "core/report/failure.h"
#include "core/system/regular_file.h"
#include "core/system/write_failure.h"
#include "core/system/write_guard.h"

#include <QCommandLineParser>
#include <QFile>
#include <QSaveFile>
#include <QTextStream>
#include <cerrno>

namespace {

const QString kUsage = QStringLiteral("set|get|remove ID [FILE]");
const QString kNoCover = QStringLiteral("Movie %1 has no cover.");

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
                   "                movie ID, as it is (at most %1 pixels on the longer\n"
                   "                side; the window converts and scales other images)\n"
                   "  get ID FILE   write the cover of movie ID to FILE ('-' for\n"
                   "                standard output)\n"
                   "  remove ID     remove the cover of movie ID")
            .arg(CoverLimits::kLongerSide);
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
    Cover cover;
    cover.bytes = readImageFile(path);
    const std::optional<ImageHeader> header = readImageHeader(cover.bytes);
    if (!header) {
        throw Failure(QStringLiteral("%1 is not a JPEG or PNG image. The command line stores "
                                     "JPEG and PNG images as they are; the window converts "
                                     "other images.")
                          .arg(path));
    }
    if (!imageLooksComplete(cover.bytes, header->format)) {
        throw Failure(
            QStringLiteral("%1 is not a whole image: the image file is cut short.").arg(path));
    }
    if (std::max(header->width, header->height) > CoverLimits::kLongerSide) {
        throw Failure(QStringLiteral("%1 is %2 x %3 pixels; a cover is at most %4 pixels on the "
                                     "longer side. The window scales larger images down.")
                          .arg(path)
                          .arg(header->width)
                          .arg(header->height)
                          .arg(CoverLimits::kLongerSide));
    }
    // Without a decoder, the image is stored only once its data is seen to be whole.
    if (const QString problem = imageDataProblem(cover.bytes, header->format); !problem.isEmpty()) {
        throw Failure(QStringLiteral("%1 is not a whole image: %2.").arg(path, problem));
    }
    cover.width = header->width;
    cover.height = header->height;
    cover.format = header->format;
    return cover;
}

// Why movie id has no cover to fetch or remove: it has none, or there is no such movie.
QString whyNoCover(Catalogue& catalogue, qint64 id) {
    return catalogue.movie(QString::number(id)) ? kNoCover.arg(id) : kNoSuchMovie.arg(id);
}

void writeCover(const QByteArray& bytes, const QString& path, QIODevice& out) {
    if (path == QStringLiteral("-")) {
        if (out.write(bytes) != bytes.size()) {
            throw Failure(QStringLiteral("Could not write the cover: %1").arg(out.errorString()));
        }
        return;
    }
    checkOutputFile(path);
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        throw Failure(QStringLiteral("Could not write %1: %2")
                          .arg(path, writeFailureReason(path, file.errorString(), errno)));
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
        writeCover(cover->bytes, arguments.at(2), context.out);
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
