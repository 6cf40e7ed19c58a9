#include "mainwindow/lookup/lookup_dialog.h"

#include "core/lookup/lookup_sources.h"
#include "core/lookup/poster_request.h"
#include "core/report/message_boxes.h"
#include "core/settings/config.h"
#include "mainwindow/lookup/candidate_thumbnails.h"
#include "mainwindow/lookup/field_review.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

namespace {

const QString kTitle = QStringLiteral("Look Up a Movie");
const QString kSourceLabel = QStringLiteral("&Source:");
const QString kKeyButton = QStringLiteral("TMDb &key\u2026");
const QString kKeyTitle = QStringLiteral("TMDb Key");
const QString kKeyPrompt =
    QStringLiteral("Your own TMDb API key (a v3 key or a read access token).\n"
                   "Leave it empty to remove the key kept now.");
const QString kChooseButton = QStringLiteral("&Choose");
const QString kUseButton = QStringLiteral("&Use these");
const QString kBackButton = QStringLiteral("&Back");
const QString kSearching = QStringLiteral("Looking up \u201c%1\u201d in %2\u2026");
const QString kFetching = QStringLiteral("Fetching \u201c%1\u201d from %2\u2026");
const QString kNothingFound = QStringLiteral("%1 knows no film called \u201c%2\u201d.");
const QString kFound = QStringLiteral("Films found in %1, best match first. Choose one to compare "
                                      "its fields with yours.");
const QString kReview = QStringLiteral("Ticked fields go into the editor; nothing is stored "
                                       "until you press Save there.");
const QString kUsePoster = QStringLiteral("Use the &poster as the movie's cover");
const QString kFetchingPoster = QStringLiteral("Fetching the poster\u2026");
constexpr int kPosterHeight = 150;
const QString kSettingNotKept = QStringLiteral("The setting was not kept. %1");
const QStringList kCandidateHeaders = {QStringLiteral("Title"), QStringLiteral("Year"),
                                       QStringLiteral("Director"), QStringLiteral("Source")};
constexpr int kIdRole = Qt::UserRole;
// The candidates listed at each turn of the event loop.
constexpr qsizetype kRowsAtOnce = 200;

enum Page { CandidatesPage, ReviewPage };

} // namespace

LookupDialog::LookupDialog(SettingsStore& settings, MessageBoxes& boxes, WantedFilm wanted,
                           DvdRecord typed, QStringList fieldNames, bool offerPoster,
                           QWidget* parent)
    : QDialog(parent), m_settings(settings), m_boxes(boxes), m_wanted(std::move(wanted)),
      m_typed(std::move(typed)), m_fieldNames(std::move(fieldNames)), m_offerPoster(offerPoster),
      m_network(new QNetworkAccessManager(this)) {
    setObjectName(QStringLiteral("LookupDialog"));
    setWindowTitle(kTitle);
    buildControls();
    makeSource();
    search();
}

LookupDialog::~LookupDialog() {
    dropReply();
}

void LookupDialog::buildControls() {
    auto* sourceLabel = new QLabel(kSourceLabel, this);
    m_sourceBox = new QComboBox(this);
    m_sourceBox->setObjectName(QStringLiteral("lookupSource"));
    sourceLabel->setBuddy(m_sourceBox);
    for (const QString& name : LookupSources::names()) {
        const std::unique_ptr<LookupSource> source = LookupSources::make(name);
        m_sourceBox->addItem(source ? source->name() : name, name);
    }
    const Config config(m_settings);
    m_sourceBox->setCurrentIndex(m_sourceBox->findData(LookupSources::chosen(config)));
    connect(m_sourceBox, &QComboBox::activated, this, &LookupDialog::sourceChosen);
    m_keyButton = new QPushButton(kKeyButton, this);
    m_keyButton->setObjectName(QStringLiteral("tmdbKey"));
    m_keyButton->setAutoDefault(false);
    connect(m_keyButton, &QPushButton::clicked, this, &LookupDialog::askForKey);
    auto* sourceRow = new QHBoxLayout;
    sourceRow->addWidget(sourceLabel);
    sourceRow->addWidget(m_sourceBox);
    sourceRow->addWidget(m_keyButton);
    sourceRow->addStretch();

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lookupStatus"));
    m_status->setWordWrap(true);
    m_busy = new QProgressBar(this);
    m_busy->setRange(0, 0); // moving for as long as a request runs
    m_busy->setTextVisible(false);
    m_busy->setMaximumHeight(m_status->fontMetrics().height());

    m_candidates = new QTreeWidget(this);
    m_candidates->setObjectName(QStringLiteral("lookupCandidates"));
    m_candidates->setRootIsDecorated(false);
    m_candidates->setUniformRowHeights(true);
    m_candidates->setHeaderLabels(kCandidateHeaders);
    connect(m_candidates, &QTreeWidget::itemDoubleClicked, this, [this] { pick(); });
    m_thumbnails = new CandidateThumbnails(*m_candidates, *m_network, this);
    m_review = new FieldReview(this);
    m_posterImage = new QLabel(this);
    m_posterImage->setObjectName(QStringLiteral("posterImage"));
    m_posterImage->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    m_usePoster = new QCheckBox(kUsePoster, this);
    m_usePoster->setObjectName(QStringLiteral("usePoster"));
    auto* reviewPage = new QWidget(this);
    auto* reviewLayout = new QGridLayout(reviewPage);
    reviewLayout->setContentsMargins(0, 0, 0, 0);
    reviewLayout->addWidget(m_review, 0, 0);
    reviewLayout->addWidget(m_posterImage, 0, 1);
    reviewLayout->addWidget(m_usePoster, 1, 0, 1, 2);
    reviewLayout->setColumnStretch(0, 1);
    m_pages = new QStackedWidget(this);
    m_pages->insertWidget(CandidatesPage, m_candidates);
    m_pages->insertWidget(ReviewPage, reviewPage);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    m_go = buttons->addButton(kChooseButton, QDialogButtonBox::ActionRole);
    m_go->setObjectName(QStringLiteral("lookupGo"));
    m_go->setDefault(true);
    m_back = buttons->addButton(kBackButton, QDialogButtonBox::ActionRole);
    m_back->setObjectName(QStringLiteral("lookupBack"));
    m_back->setAutoDefault(false);
    m_back->hide(); // only beside the fields of a film
    connect(m_back, &QPushButton::clicked, this, &LookupDialog::goBack);
    connect(m_go, &QPushButton::clicked, this, [this] {
        if (m_pages->currentIndex() == CandidatesPage) {
            pick();
        } else {
            useTicked();
        }
    });
    // Cancel also stops a request under way: the window goes, and the
    // request with it.
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sourceRow);
    layout->addWidget(m_status);
    layout->addWidget(m_busy);
    layout->addWidget(m_pages, 1);
    layout->addWidget(buttons);
    resize(640, 380);
}

void LookupDialog::makeSource() {
    dropReply();
    const Config config(m_settings);
    m_source = LookupSources::make(m_sourceBox->currentData().toString(), &config);
    m_source->setThumbnailsWanted(true);
    m_thumbnails->setSource(m_source->name(), m_source->cache());
}

bool LookupDialog::isBusy() const {
    // Until its answer is shown: a finished reply tells the window later.
    return !m_reply.isNull() || m_rankingRuns;
}

void LookupDialog::dropReply() {
    // Deleting a reply stops its requests; nothing it held is used.
    for (LookupReply* reply : {static_cast<LookupReply*>(m_reply.data()),
                               static_cast<LookupReply*>(m_posterReply.data())}) {
        if (reply != nullptr) {
            reply->disconnect(this);
            delete reply;
        }
    }
    // A ranking or a listing under way is dropped too, and the thumbnails.
    m_thumbnails->clear();
    ++m_ranking;
    m_rankingRuns = false;
    m_ranked.clear();
}

void LookupDialog::setBusy(const QString& text) {
    m_busy->setVisible(!text.isEmpty());
    if (!text.isEmpty()) {
        m_status->setText(text);
    }
}

void LookupDialog::setStatus(const QString& text) {
    setBusy({});
    m_status->setText(text);
}

void LookupDialog::search() {
    dropReply();
    m_pages->setCurrentIndex(CandidatesPage);
    m_go->setText(kChooseButton);
    m_back->hide();
    m_candidates->clear();
    m_go->setEnabled(false);
    setBusy(kSearching.arg(m_wanted.title, m_source->name()));
    m_reply = m_source->search(m_wanted.title, m_wanted.year);
    connect(m_reply, &LookupReply::finished, this, &LookupDialog::searchFinished);
}

void LookupDialog::searchFinished() {
    LookupReply* reply = m_reply;
    reply->deleteLater();
    m_reply = nullptr;
    if (reply->failure()) {
        setStatus(reply->failure()->description());
        m_boxes.warn(reply->failure()->description());
        emit searched();
        return;
    }
    // Ranking thousands of films takes longer than a frame: it runs on a
    // thread of its own, the window listing them when it is done. The thread
    // holds nothing of the window's; a search begun meanwhile drops it.
    const int ranking = ++m_ranking;
    auto ranked = std::make_shared<QList<LookupCandidate>>();
    QThread* thread =
        QThread::create([ranked, candidates = reply->candidates(), wanted = m_wanted] {
            *ranked = CandidateRanking::rank(candidates, wanted);
        });
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    connect(thread, &QThread::finished, this, [this, ranking, ranked, source = reply->source()] {
        if (ranking == m_ranking) {
            m_rankingRuns = false;
            m_ranked = std::move(*ranked);
            listRanked(source);
        }
    });
    m_rankingRuns = true;
    thread->start();
}

void LookupDialog::listRanked(const QString& source) {
    // A batch of rows at a time, so that a long list never holds the window up.
    const qsizetype first = m_candidates->topLevelItemCount();
    const qsizetype end = std::min(m_ranked.size(), first + kRowsAtOnce);
    QList<QTreeWidgetItem*> rows;
    for (qsizetype i = first; i < end; ++i) {
        const LookupCandidate& candidate = m_ranked.at(i);
        auto* row = new QTreeWidgetItem(
            {candidate.title, candidate.year, candidate.director, candidate.source});
        row->setData(0, kIdRole, candidate.sourceId);
        rows << row;
    }
    m_candidates->addTopLevelItems(rows);
    for (qsizetype i = first; i < end; ++i) {
        if (const QString& address = m_ranked.at(i).thumbnailUrl; !address.isEmpty()) {
            m_thumbnails->add(int(i), QUrl(address));
        }
    }
    if (first == 0) {
        if (m_ranked.isEmpty()) {
            setStatus(kNothingFound.arg(source, m_wanted.title));
        } else {
            setStatus(kFound.arg(source));
            for (int column = 0; column < m_candidates->columnCount(); ++column) {
                m_candidates->resizeColumnToContents(column);
            }
            m_candidates->setCurrentItem(m_candidates->topLevelItem(0));
            m_candidates->setFocus();
            m_go->setEnabled(true);
        }
    }
    if (end < m_ranked.size()) {
        QTimer::singleShot(0, this, [this, source, listing = m_ranking] {
            if (listing == m_ranking) {
                listRanked(source);
            }
        });
        return;
    }
    m_ranked.clear();
    emit searched();
}

void LookupDialog::pick() {
    const QTreeWidgetItem* row = m_candidates->currentItem();
    if (row == nullptr || isBusy() || m_pages->currentIndex() != CandidatesPage) {
        return;
    }
    m_go->setEnabled(false);
    setBusy(kFetching.arg(row->text(0), m_source->name()));
    m_reply = m_source->fetch(row->data(0, kIdRole).toString());
    connect(m_reply, &LookupReply::finished, this, &LookupDialog::fetchFinished);
}

void LookupDialog::fetchFinished() {
    LookupReply* reply = m_reply;
    reply->deleteLater();
    m_reply = nullptr;
    m_go->setEnabled(true);
    if (!reply->movie()) {
        const QString failure = reply->failure() ? reply->failure()->description() : QString();
        setStatus(failure);
        m_boxes.warn(failure);
        emit fetched();
        return;
    }
    m_choice.reset();
    m_review->setFields(m_fieldNames, m_typed, *reply->movie());
    m_picked = *reply->movie();
    setStatus(kReview);
    fetchPoster(m_offerPoster ? m_picked.posterUrl : QString());
    m_pages->setCurrentIndex(ReviewPage);
    m_go->setText(kUseButton);
    m_back->show();
    m_review->setFocus();
    emit fetched();
}

void LookupDialog::fetchPoster(const QString& address) {
    m_poster.clear();
    m_posterImage->clear();
    m_posterImage->setVisible(!address.isEmpty());
    m_usePoster->setVisible(!address.isEmpty());
    if (address.isEmpty()) {
        return;
    }
    // Offered once it is here, ticked as an empty field is.
    m_usePoster->setEnabled(false);
    m_usePoster->setChecked(true);
    m_posterImage->setText(kFetchingPoster);
    m_posterReply =
        PosterRequest::get(*m_network, NetworkLimits{}, QUrl(address), m_picked.source, this);
    connect(m_posterReply, &LookupReply::finished, this, &LookupDialog::posterFinished);
}

void LookupDialog::posterFinished() {
    PosterReply* reply = m_posterReply;
    reply->deleteLater();
    m_posterReply = nullptr;
    if (reply->failure()) {
        // Told on the window, not in a box: the fields can still be taken.
        m_posterImage->setText(reply->failure()->description());
        m_posterImage->setWordWrap(true);
        m_usePoster->hide();
        return;
    }
    m_poster = reply->bytes();
    m_usePoster->setEnabled(true);
    // The cover takes the file as it came; the thumbnail is only shown.
    QPixmap picture;
    if (picture.loadFromData(m_poster)) {
        m_posterImage->setPixmap(picture.scaledToHeight(kPosterHeight, Qt::SmoothTransformation));
    } else {
        m_posterImage->clear();
    }
}

void LookupDialog::goBack() {
    if (m_pages->currentIndex() != ReviewPage) {
        return;
    }
    // The film's poster is no longer wanted; the list stays as it was.
    if (m_posterReply) {
        m_posterReply->disconnect(this);
        delete m_posterReply;
    }
    m_back->hide();
    m_pages->setCurrentIndex(CandidatesPage);
    m_go->setText(kChooseButton);
    setStatus(kFound.arg(m_source->name()));
    m_candidates->setFocus();
}

void LookupDialog::useTicked() {
    if (m_pages->currentIndex() != ReviewPage || isBusy()) {
        return;
    }
    const bool withPoster = m_usePoster->isVisible() && m_usePoster->isChecked();
    m_choice = LookupChoice{m_review->ticked(), m_picked, withPoster ? m_poster : QByteArray()};
    accept();
}

void LookupDialog::sourceChosen(int index) {
    const QString name = m_sourceBox->itemData(index).toString();
    try {
        Config(m_settings).set(Setting::LookupSource, name);
    } catch (const Failure& failure) {
        m_boxes.warn(kSettingNotKept.arg(failure.description()));
    }
    makeSource();
    search();
}

void LookupDialog::askForKey() {
    bool ok = false;
    const QString key =
        QInputDialog::getText(this, kKeyTitle, kKeyPrompt, QLineEdit::Password, QString(), &ok)
            .trimmed();
    if (!ok) {
        return;
    }
    try {
        Config(m_settings).set(Setting::TmdbKey, key);
    } catch (const Failure& failure) {
        m_boxes.warn(kSettingNotKept.arg(failure.description()));
        return;
    }
    // The key is read when the source is made: the search runs again with it.
    makeSource();
    search();
}
