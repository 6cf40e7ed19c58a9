#include "mainwindow/form1.h"

#include "core/report/error_trap.h"
#include "core/report/message_boxes.h"
#include "core/settings/config.h"
#include "core/settings/setting_values.h"
#include "core/system/event_pump.h"
#include "core/system/program_end.h"
#include "core/system/shell.h"
#include "desktop/pointer_file.h"
#include "desktop/program_icon.h"
#include "desktop/twips_geometry.h"
#include "mainwindow/button_mnemonics.h"
#include "mainwindow/catalogue_watch.h"
#include "mainwindow/extra_columns.h"
#include "mainwindow/features.h"
#include "mainwindow/form1_catalogue_file.h"
#include "mainwindow/form1_window_context.h"
#include "mainwindow/list_dvd.h"
#include "mainwindow/list_view.h"
#include "mainwindow/main_window_layout.h"
#include "mainwindow/window_feature.h"
#include "platform/twips.h"

#include <QCloseEvent>
#include <QPushButton>

namespace {

const QString kProductName = QStringLiteral("Reelkeeper");

// The list's columns: header text, report line of its creation.
struct ListColumn {
    const char* header;
    int line;
};
constexpr ListColumn kColumns[] = {{"ID", 150},      {"Title", 152},       {" Year", 154},
                                   {"Genre", 156},   {"Cast", 158},        {"Director", 160},
                                   {"Runtime", 162}, {"MPAA Rating", 164}, {"Studio", 166}};

// The captions of PushButton1 .. PushButton8.
constexpr const char* kButtonCaptions[Form1::kButtonCount] = {
    "Delete Selected Movie",    "Copy Movies To Clipboard",
    "Copy Database To Excel",   "Add New Movie",
    "Edit Selected Movie",      "Clear Database",
    "Load Sample/Example Data", "Help"};

} // namespace

Form1::Form1(Services services, QWidget* parent)
    : QWidget(parent), m_services(services), m_pointer(this) {
    setObjectName(QStringLiteral("Form1"));
    m_watch = new CatalogueWatch(
        m_services.catalogue, [this] { catalogueChangedOutside(); }, this);
    buildControls();
    setUpLook();
}

Form1::~Form1() {
    // The features go before the list and the window they work on.
    while (!m_features.isEmpty()) {
        delete m_features.takeLast();
    }
}

void Form1::buildControls() {
    resize(Twips::toPixels(MainWindowLayout::kClientSize.width),
           Twips::toPixels(MainWindowLayout::kClientSize.height));
    m_list = new ListView(this);
    setTwipsGeometry(*m_list, MainWindowLayout::kListPlace);
    m_layout.list = MainWindowLayout::kListPlace;
    connect(m_list, &ListView::ColumnClick, this, &Form1::ListView1_ColumnClick);

    using Handler = void (Form1::*)();
    static constexpr Handler kHandlers[kButtonCount] = {
        &Form1::PushButton1_Click, &Form1::PushButton2_Click, &Form1::PushButton3_Click,
        &Form1::PushButton4_Click, &Form1::PushButton5_Click, &Form1::PushButton6_Click,
        &Form1::PushButton7_Click, &Form1::PushButton8_Click};
    // Tab order follows the rows on screen: the list, then each row left to right.
    QWidget* previous = m_list;
    for (const auto& [number, place] : MainWindowLayout::kButtonPlaces) {
        auto* button = new QPushButton(QString::fromUtf8(kButtonCaptions[number - 1]), this);
        button->setObjectName(QStringLiteral("PushButton%1").arg(number));
        setTwipsGeometry(*button, place);
        m_layout.button(number) = place;
        connect(button, &QPushButton::clicked, this, kHandlers[number - 1]);
        m_buttons[std::size_t(number - 1)] = button;
        QWidget::setTabOrder(previous, button);
        previous = button;
    }
    applyButtonMnemonics(m_buttons);
    m_extraColumns = new ExtraColumns(*m_list, m_services.settings, m_services.boxes);
    m_context = std::make_unique<Context>(*this);
    m_features = makeFeatures(*m_context);
}

QPushButton& Form1::PushButton(int number) {
    return *m_buttons.at(std::size_t(number - 1));
}

void Form1::Form_Load() {
    ErrorTrap trap(m_services.boxes, QStringLiteral("Form1.Form_Load"));
    trap.step(100, [&] {
        setWindowTitle(kProductName);
        setWindowIcon(programIcon());
        SetAppTitle();
    });
    trap.step(102, [&] { ApplySkin(); });
    provideCatalogueFile(trap, m_services.shell, m_services.boxes, m_services.programEnd);
    loadHandPointer(trap);
    trap.step(146, [&] { IsADOInstalled(); });
    for (const ListColumn& column : kColumns) {
        trap.step(column.line, [&] { m_list->addColumnHeader(QString::fromUtf8(column.header)); });
    }
    restoreColumnWidths(trap);
    openCatalogue(trap, m_services.catalogue, m_services.shell);
    trap.step(180, [&] { refillList(); });
    restoreWindowState(trap);
    m_loaded = true;
    m_watch->start();
}

void Form1::refillList() {
    m_watch->aboutToFill();
    listDVD(*m_list, m_services.catalogue, m_pointer, m_services.boxes);
}

void Form1::SetAppTitle() {
    // The product name without its last word, shortened further word by word
    // while longer than 40 characters; a name without a blank stays whole.
    QString title = kProductName;
    do {
        const qsizetype blank = title.lastIndexOf(QLatin1Char(' '));
        if (blank < 0) {
            break;
        }
        title.truncate(blank);
    } while (title.size() > 40);
    m_services.boxes.setAppTitle(title);
}

void Form1::loadHandPointer(ErrorTrap& trap) {
    const QString path = m_services.shell.programFolder() + QStringLiteral("/HAND-M.CUR");
    if (trap.test(122, [&] { return Shell::exists(path); })) {
        trap.step(124, [&] { m_pointer.setHandPicture(loadPointerFile(path)); });
    }
}

void Form1::restoreColumnWidths(ErrorTrap& trap) {
    const Config config(m_services.settings);
    trap.step(168, [&] {
        m_list->setColumnHeaderWidth(0, parseSettingNumber(config.get(Config::columnWidth(1))));
    });
    for (int n = 2; n <= m_list->columnHeaderCount(); ++n) {
        trap.step(172, [&] {
            m_list->setColumnHeaderWidth(n - 1,
                                         parseSettingNumber(config.get(Config::columnWidth(n))));
        });
    }
}

void Form1::restoreWindowState(ErrorTrap& trap) {
    int state = 0;
    trap.step(182, [&] {
        state = parseWindowState(Config(m_services.settings).get(Setting::WindowState));
        setWindowState(windowStateFlags(state));
    });
    if (trap.test(184, [&] { return state == 0; })) {
        trap.step(186, [&] { mLayoutMaximized = false; });
    } else {
        trap.step(188, [&] { mLayoutMaximized = true; });
    }
}

void Form1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!m_featuresStarted) {
        m_featuresStarted = true;
        for (WindowFeature* feature : m_features) {
            feature->start();
        }
    }
}

void Form1::closeEvent(QCloseEvent* event) {
    // Closing is never refused and asks nothing. An export running below
    // (closing reached it through its event pump) stops at its next step.
    m_closed = true;
    m_watch->stop();
    Form_QueryUnload();
    event->accept();
    Form_Unload();
}

void Form1::Form_QueryUnload() {
    ErrorTrap trap(m_services.boxes, QStringLiteral("Form1.Form_QueryUnload"));
    Config config(m_services.settings);
    for (int n = 1; n <= m_list->columnHeaderCount(); ++n) {
        trap.step(102, [&] {
            config.set(Config::columnWidth(n),
                       formatSettingNumber(m_list->columnHeaderWidth(n - 1)));
        });
    }
    trap.step(106, [&] {
        config.set(Setting::WindowState, QString::number(windowStateNumber(windowState())));
    });
    closeCatalogue(trap, m_services.catalogue);
    trap.step(114, [] { pumpEvents(); });
    trap.step(116, [] { pumpEvents(); });
}

void Form1::Form_Unload() {
    m_services.programEnd.Quit();
}

void Form1::ListView1_ColumnClick(int index) {
    ListView& list = *m_list;
    const int previousKey = list.Sorted() ? list.SortKey() : -1;
    list.setSorted(false);
    if (index - 1 == previousKey) {
        if (list.SortOrder() == Qt::AscendingOrder) {
            list.setSortOrder(Qt::DescendingOrder);
        } else if (list.SortOrder() == Qt::DescendingOrder) {
            list.setSortOrder(Qt::AscendingOrder);
        }
    } else {
        list.setSortOrder(Qt::AscendingOrder);
    }
    list.setSortKey(index - 1);
    list.setSorted(true);
}

void Form1::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        Form_Resize();
    } else if (event->type() == QEvent::ActivationChange && isActiveWindow() &&
               m_watch->changedSinceFill()) {
        // Coming back to the window is when a change made meanwhile matters.
        catalogueChangedOutside();
    }
}

void Form1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}
