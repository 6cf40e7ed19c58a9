#include "editor/form2.h"

#include "core/report/error_trap.h"
#include "core/report/failure.h"
#include "core/system/event_pump.h"
#include "core/system/shell.h"
#include "desktop/form_colors.h"
#include "desktop/pointer_feedback.h"
#include "desktop/pointer_file.h"
#include "desktop/program_icon.h"
#include "desktop/twips_geometry.h"
#include "platform/twips.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <limits>

namespace {

const QString kCaption = QStringLiteral("Add New Record");
const QString kHandPointerFile = QStringLiteral("/HAND-M.CUR");
const QString kFontFamily = QStringLiteral("Arial");
constexpr double kFontPoints = 9.0;
constexpr double kButtonFontPoints = 11.25;

// The window's layout, in twips.
constexpr float kClientWidth = 8040, kClientHeight = 4965;
constexpr float kBoxLeft = 1440, kLastBoxLeft = 1455, kBoxTop = 135, kBoxPitch = 540;
constexpr float kBoxWidth = 6480, kBoxHeight = 375;
constexpr float kLabelRight = 1320, kLabelDrop = 90, kLabelHeight = 225;

constexpr const char* kLabelCaptions[Form2::kBoxCount] = {
    "Title:", "Year:", "Genre:", "Cast:", "Director:", "Runtime:", "MPAA Rating:", "Studio:"};

struct ButtonPlace {
    const char* caption;
    float left, top, width, height;
};
constexpr ButtonPlace kButtonPlaces[2] = {{"Save", 120, 4440, 3840, 405},
                                          {"Cancel", 4080, 4440, 3840, 405}};

QFont boldArial(double points) {
    QFont font(kFontFamily);
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

} // namespace

Form2::Form2(EditorServices services, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      m_services(std::move(services)), m_pointer(this) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(kCaption);
    setFont(boldArial(kFontPoints));
    setSizeGripEnabled(false);
    buildControls();
}

Form2::~Form2() = default;

void Form2::buildControls() {
    setFixedSize(Twips::toPixels(kClientWidth), Twips::toPixels(kClientHeight));
    for (int i = 0; i < kBoxCount; ++i) {
        const float top = kBoxTop + kBoxPitch * float(i);
        auto* box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("Text%1").arg(i + 1));
        box->setMaxLength(std::numeric_limits<int>::max()); // no length limit
        setTwipsGeometry(
            *box, {i == kBoxCount - 1 ? kLastBoxLeft : kBoxLeft, top, kBoxWidth, kBoxHeight});
        m_boxes[std::size_t(i)] = box;

        // Caption-sized, its right edge 120 left of the boxes.
        auto* label = new QLabel(QString::fromUtf8(kLabelCaptions[i]), this);
        label->setObjectName(QStringLiteral("Label1_%1").arg(i));
        label->setFocusPolicy(Qt::NoFocus);
        label->setBuddy(box);
        const int width = label->fontMetrics().horizontalAdvance(label->text()) + 2;
        const int right = Twips::toPixels(kLabelRight);
        label->setGeometry(right - width, Twips::toPixels(top + kLabelDrop), width,
                           Twips::toPixels(kLabelHeight));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_labels[std::size_t(i)] = label;
    }
    using Handler = void (Form2::*)();
    static constexpr Handler kHandlers[2] = {&Form2::PushButton1_Click, &Form2::PushButton2_Click};
    for (int i = 0; i < 2; ++i) {
        const ButtonPlace& place = kButtonPlaces[i];
        auto* button = new QPushButton(QString::fromUtf8(place.caption), this);
        button->setObjectName(QStringLiteral("PushButton%1").arg(i + 1));
        button->setFont(boldArial(kButtonFontPoints));
        button->setAutoDefault(false);
        button->setDefault(i == 0); // Enter saves
        setTwipsGeometry(*button, {place.left, place.top, place.width, place.height});
        connect(button, &QPushButton::clicked, this, kHandlers[i]);
        m_buttons[std::size_t(i)] = button;
    }
    // Tab order: the eight boxes, then Save and Cancel.
    QList<QWidget*> order(m_boxes.begin(), m_boxes.end());
    order << m_buttons[0] << m_buttons[1];
    for (qsizetype i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
    }
    m_boxes[1]->installEventFilter(this);

    // The hand over Save and Cancel; the arrow over the background, the
    // labels and the last two boxes. The first six boxes leave the pointer
    // as it is.
    auto* feedback = new PointerFeedback(m_pointer, *this);
    feedback->setObjectName(QStringLiteral("PointerFeedback"));
    for (QPushButton* button : m_buttons) {
        feedback->hand(*button);
    }
    feedback->arrowOnBackground(*this);
    for (QLabel* label : m_labels) {
        feedback->arrow(*label);
    }
    feedback->arrow(*m_boxes[6]);
    feedback->arrow(*m_boxes[7]);
}

QLineEdit& Form2::Text(int number) {
    if (number < 1 || number > kBoxCount) {
        throw Failure(QStringLiteral("Text%1 does not exist.").arg(number));
    }
    Load();
    return *m_boxes[std::size_t(number - 1)];
}

QLabel& Form2::Label1(int index) {
    if (index < 0 || index >= kBoxCount) {
        throw Failure(QStringLiteral("Label1(%1) does not exist.").arg(index));
    }
    return *m_labels[std::size_t(index)];
}

QPushButton& Form2::PushButton(int number) {
    if (number < 1 || number > 2) {
        throw Failure(QStringLiteral("PushButton%1 does not exist.").arg(number));
    }
    return *m_buttons[std::size_t(number - 1)];
}

void Form2::Load() {
    if (m_loaded) {
        return;
    }
    m_loaded = true;
    m_finishing = false;
    m_yearCheckPending = false;
    m_storedAtOpen.reset();
    clearBoxes();
    Form_Load();
}

void Form2::rememberStored(const DvdRecord& movie, std::optional<qint64> version) {
    Load();
    m_storedAtOpen = StoredAtOpen{movie, version};
}

void Form2::clearBoxes() {
    // setText rather than clear(): clearing can be undone, and Ctrl+Z must
    // not bring back what a previous opening held.
    for (QLineEdit* box : m_boxes) {
        box->setText(QString());
    }
}

void Form2::Form_Load() {
    ErrorTrap trap(m_services.boxes, QStringLiteral("Form2.Form_Load"));
    const QString path = m_services.shell.programFolder() + kHandPointerFile;
    if (trap.test(100, [&] { return Shell::exists(path); })) {
        trap.step(102, [&] { m_pointer.setHandPicture(loadPointerFile(path)); });
    }
    trap.step(104, [&] { setFormColors(*this); });
    trap.step(106, [&] { setWindowIcon(programIcon()); });
}

void Form2::showModal() {
    Load();
    // Each opening starts in the title box, wherever the last one left the focus.
    m_boxes[0]->setFocus(Qt::OtherFocusReason);
    centreOnScreen();
    exec();
}

void Form2::centreOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        return;
    }
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

void Form2::Unload() {
    if (!m_loaded || m_unloading) {
        return;
    }
    m_unloading = true;
    m_finishing = true;
    Form_QueryUnload();
    clearBoxes();
    m_loaded = false;
    m_unloading = false;
    QDialog::done(QDialog::Rejected);
}

void Form2::Form_QueryUnload() {
    ErrorTrap trap(m_services.boxes, QStringLiteral("Form2.Form_QueryUnload"));
    trap.step(100, [&] { mDVDID.clear(); });
    // Let window events already queued run before the window goes away.
    trap.step(102, [] { pumpEvents(); });
    trap.step(104, [] { pumpEvents(); });
}

void Form2::closeEvent(QCloseEvent* event) {
    // The close box unloads like Cancel; closing is never refused.
    Unload();
    event->accept();
}

void Form2::reject() {
    if (m_loaded) {
        Unload();
    } else {
        QDialog::reject();
    }
}
