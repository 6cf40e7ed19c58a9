#pragma once

#include "editor/form2.h"
#include "platform/connection.h"
#include "platform/shell.h"
#include "store/catalogue_location.h"
#include "support/modal.h"
#include "support/scripted_message_boxes.h"
#include "support/temp_catalogue.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

// A record editor over a scratch catalogue with an open connection; the
// list refill is counted.
class EditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        dirs.createInstalledCatalogue();
        gConn = std::make_unique<Connection>();
        gConn->Open(CatalogueLocation::connectionText(shell));
        form = std::make_unique<Form2>(EditorServices{boxes, shell, gConn, [this] { ++refills; }});
    }

    QLineEdit& box(int number) {
        auto* found = form->findChild<QLineEdit*>(QStringLiteral("Text%1").arg(number));
        EXPECT_NE(found, nullptr);
        return *found;
    }
    QPushButton& button(int number) {
        return *form->findChild<QPushButton*>(QStringLiteral("PushButton%1").arg(number));
    }
    void typeAll(const QStringList& fields) {
        for (int i = 0; i < fields.size(); ++i) {
            box(i + 1).setText(fields.at(i));
        }
    }
    void save() { QTest::mouseClick(&button(1), Qt::LeftButton); }
    QStringList stored() const {
        return TempCatalogue::rows(
            dirs.catalogueFile(),
            QStringLiteral("title,year,genre,[cast],director,runtime,rating,studio"));
    }

    TempCatalogue dirs;
    ScriptedMessageBoxes boxes;
    Shell shell{dirs.programFolder(), dirs.dataFolder()};
    ConnectionSlot gConn;
    int refills = 0;
    std::unique_ptr<Form2> form;
};
