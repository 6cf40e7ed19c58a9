// The one file that includes libical's header: loans as iCalendar to-dos.
#include "core/loans/loan_calendar.h"

#include "core/report/failure.h"

#include <QSaveFile>
#include <libical/ical.h>
#include <memory>

namespace {

const char kProductId[] = "-//Reelkeeper//Loans//EN";
// The alarm rings this long after the start of the due day.
constexpr int kAlarmSecondsIntoDay = 9 * 3600;

struct ComponentFree {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

QString summaryOf(const Loan& loan) {
    const QString what = QStringLiteral("%1 (%2)").arg(loan.title, ShelfNames::name(loan.format));
    return loan.direction == LoanDirection::Lent
               ? QStringLiteral("Get %1 back from %2").arg(what, loan.borrower)
               : QStringLiteral("Give %1 back to %2").arg(what, loan.borrower);
}

icaltimetype dayOf(QDate date) {
    icaltimetype day = icaltime_null_date();
    day.year = date.year();
    day.month = date.month();
    day.day = date.day();
    return day;
}

icalcomponent* alarmFor(const QString& summary) {
    icalcomponent* alarm = icalcomponent_new_valarm();
    icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
    icalcomponent_add_property(alarm, icalproperty_new_description(summary.toUtf8().constData()));
    icaltriggertype trigger = icaltriggertype_from_int(kAlarmSecondsIntoDay);
    icalproperty* when = icalproperty_new_trigger(trigger);
    // Counted from the due date, which a to-do's alarm may be related to.
    icalproperty_add_parameter(when, icalparameter_new_related(ICAL_RELATED_END));
    icalcomponent_add_property(alarm, when);
    return alarm;
}

icalcomponent* todoFor(const Loan& loan, const icaltimetype& stamp) {
    const QString summary = summaryOf(loan);
    icalcomponent* todo = icalcomponent_new_vtodo();
    const QByteArray uid = QStringLiteral("loan-%1-%2@reelkeeper")
                               .arg(loan.id)
                               .arg(loan.out.toString(Qt::ISODate))
                               .toUtf8();
    icalcomponent_add_property(todo, icalproperty_new_uid(uid.constData()));
    icalcomponent_add_property(todo, icalproperty_new_dtstamp(stamp));
    icalcomponent_add_property(todo, icalproperty_new_summary(summary.toUtf8().constData()));
    if (!loan.note.isEmpty()) {
        icalcomponent_add_property(todo,
                                   icalproperty_new_description(loan.note.toUtf8().constData()));
    }
    if (loan.due.isValid()) {
        icalcomponent_add_property(todo, icalproperty_new_due(dayOf(loan.due)));
        icalcomponent_add_component(todo, alarmFor(summary));
    }
    return todo;
}

} // namespace

QByteArray loanCalendar(const std::vector<Loan>& loans, const QDateTime& stamp) {
    const Component calendar(icalcomponent_new_vcalendar());
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid(kProductId));
    const icaltimetype made =
        icaltime_from_timet_with_zone(stamp.toSecsSinceEpoch(), 0, icaltimezone_get_utc_timezone());
    for (const Loan& loan : loans) {
        icalcomponent_add_component(calendar.get(), todoFor(loan, made));
    }
    char* text = icalcomponent_as_ical_string_r(calendar.get());
    if (text == nullptr) {
        throw Failure(QStringLiteral("The calendar of loans could not be written: %1.")
                          .arg(QString::fromUtf8(icalerror_strerror(icalerrno))));
    }
    QByteArray bytes(text);
    icalmemory_free_buffer(text);
    return bytes;
}

void writeLoanCalendar(const std::vector<Loan>& loans, const QDateTime& stamp,
                       const QString& path) {
    const QByteArray bytes = loanCalendar(loans, stamp);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        throw Failure(QStringLiteral("Could not write %1: %2.").arg(path, file.errorString()));
    }
}
