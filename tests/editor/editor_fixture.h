#pragma once

#include "core/catalogue/catalogue.h"
#include "core/system/shell.h"
#include "editor/form2.h"
#include "support/modal.h"
#include "support/scripted_message_boxes.h"
#include "support/temp_catalogue.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

// A record editor over a scratch catalogue, open; list
// refills are counted.
class EditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        dirs.createInstalledCatalogue();
        catalogue.open(dirs.catalogueFile());
        form =
            std::make_unique<Form2>(EditorServices{boxes, shell, catalogue, [this] { ++refills; }});
    }
    QLineEdit& box(int n) { return *form->findChild<QLineEdit*>(QStringLiteral("Text%1").arg(n)); }
    QPushButton& saveButton() { return form->PushButton(1); }
    QPushButton& cancelButton() { return form->PushButton(2); }
    void typeAll(const QStringList& fields) {
        for (int i = 0; i < fields.size(); ++i) {
            box(i + 1).setText(fields.at(i));
        }
    }
    void save() { QTest::mouseClick(&saveButton(), Qt::LeftButton); }
    void seed(const QStringList& fields) {
        TempCatalogue::addMovies(dirs.catalogueFile(), {fields});
    }
    QStringList stored() const { return TempCatalogue::rows(dirs.catalogueFile()); }

    TempCatalogue dirs;
    ScriptedMessageBoxes boxes;
    Shell shell{dirs.programFolder(), dirs.dataFolder()};
    Catalogue catalogue;
    int refills = 0;
    std::unique_ptr<Form2> form;
};
