// What the main window hands its features: the services, the list, the
// pointer, itself as the parent of their dialogs, and its own list
// refills, its Edit command, its buttons and room above its controls.
#include "mainwindow/form1_window_context.h"

#include "mainwindow/extra_columns.h"

#include <QPushButton>

const Services& Form1::Context::services() const {
    return m_form.m_services;
}

ListView& Form1::Context::list() {
    return *m_form.m_list;
}

WindowPointer& Form1::Context::pointer() {
    return m_form.m_pointer;
}

QWidget& Form1::Context::window() {
    return m_form;
}

Form2& Form1::Context::editor() {
    return m_form.form2();
}

void Form1::Context::refill() {
    m_form.refillList();
}

bool Form1::Context::refresh() {
    return m_form.refreshList();
}

bool Form1::Context::catchUp() {
    return m_form.catchUpWithCatalogue();
}

void Form1::Context::editHighlighted() {
    m_form.PushButton5_Click();
}

void Form1::Context::press(Button button) {
    m_form.PushButton(button).click();
}

void Form1::Context::setRoomAbove(int pixels) {
    m_form.setRoomAbove(pixels);
}

void Form1::Context::addColumn(ColumnProvider& provider) {
    m_form.m_extraColumns->add(provider);
}

void Form1::Context::columnsChanged() {
    m_form.m_extraColumns->reload();
}

void Form1::Context::addDeleteCheck(DeleteCheck check) {
    m_form.m_deleteChecks.push_back(std::move(check));
}
