#pragma once

#include "mainwindow/form1.h"
#include "mainwindow/window_context.h"

// The main window as its features see it.
class Form1::Context : public WindowContext {
public:
    explicit Context(Form1& form) : m_form(form) {}

    const Services& services() const override;
    ListView& list() override;
    WindowPointer& pointer() override;
    QWidget& window() override;
    Form2& editor() override;
    void refill() override;
    bool refresh() override;
    bool catchUp() override;
    void editHighlighted() override;
    void press(Button button) override;
    void setRoomAbove(int pixels) override;
    void addColumn(ColumnProvider& provider) override;
    void columnsChanged() override;
    void addDeleteCheck(DeleteCheck check) override;

private:
    Form1& m_form;
};
