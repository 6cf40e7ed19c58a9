#include "mainwindow/shelf/duplicate_question.h"

#include "core/catalogue/catalogue.h"
#include "core/report/failure.h"
#include "core/report/message_boxes.h"
#include "core/shelf/shelf_store.h"
#include "editor/form2.h"
#include "mainwindow/services.h"
#include "mainwindow/window_context.h"

#include <QStringList>

namespace {

const QString kLooksLike = QStringLiteral("You may have this movie already:\r\n%1\r\n\r\n"
                                          "Yes adds it anyway; No goes back to the editor.");
const QString kMovie = QStringLiteral("\"%1\" (%2, %3)");
const QString kCopies = QStringLiteral("%1 - your copies: %2");
const QString kNoCopies = QStringLiteral("%1 - no copies");

} // namespace

DuplicateQuestion::DuplicateQuestion(WindowContext& context)
    : WindowFeature(context, QStringLiteral("DuplicateQuestion")) {}

void DuplicateQuestion::start() {
    context().editor().setAddCheck([this](const DvdRecord& movie) { return mayAdd(movie); });
}

bool DuplicateQuestion::mayAdd(const DvdRecord& movie) {
    const Services& services = context().services();
    QStringList named;
    try {
        ShelfStore shelf(services.catalogue);
        if (!shelf.hasTables()) {
            return true;
        }
        for (const qint64 id : shelf.duplicatesOf(movie)) {
            const std::optional<DvdRecord> stored = services.catalogue.movie(QString::number(id));
            if (!stored) {
                continue;
            }
            QStringList copies;
            for (const ShelfCopy& copy : shelf.copies(id)) {
                copies << describeCopy(copy);
            }
            const QString name = kMovie.arg(stored->title, stored->year, stored->director);
            named << (copies.isEmpty() ? kNoCopies.arg(name)
                                       : kCopies.arg(name, copies.join(QStringLiteral("; "))));
        }
    } catch (const Failure&) {
        // The look for a look-alike is a courtesy: a catalogue it cannot
        // read is still given the movie, and the save reports what fails.
        return true;
    }
    return named.isEmpty() ||
           services.boxes.askDefaultNo(kLooksLike.arg(named.join(QStringLiteral("\r\n")))) ==
               Answer::Yes;
}
