// The main window's look: its white background, the skin and the pointer
// feedback over its controls.
#include "mainwindow/form1.h"

#include "core/system/shell.h"
#include "desktop/apply_skin.h"
#include "desktop/form_colors.h"
#include "desktop/pointer_feedback.h"
#include "desktop/skin_framework.h"
#include "mainwindow/list_view.h"

#include <QPushButton>

void Form1::setUpLook() {
    setBackColor(*this, Qt::white);
    auto* skin = new SkinFramework(this);
    skin->setObjectName(QStringLiteral("SkinFramework1"));

    auto* feedback = new PointerFeedback(m_pointer, *this);
    feedback->setObjectName(QStringLiteral("PointerFeedback"));
    for (int number = 1; number <= kButtonCount; ++number) {
        feedback->hand(PushButton(number));
    }
    feedback->arrowOnBackground(*this);
    feedback->arrow(*m_list);
}

void Form1::ApplySkin() {
    auto* skin =
        findChild<SkinFramework*>(QStringLiteral("SkinFramework1"), Qt::FindDirectChildrenOnly);
    applySkin(*this, *skin, m_services.shell.programFolder());
}
