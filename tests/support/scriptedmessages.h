#pragma once

// Answers message boxes and modal dialogs in tests and records what was shown.

#include "widgets/messages.h"

#include <QDialog>

#include <deque>
#include <functional>
#include <vector>

namespace chemodesk::test {

struct ShownMessage {
    QString text;
    QString title;
    widgets::MessageService::Icon icon;
};

class ScriptedMessages : public widgets::MessageService {
public:
    ScriptedMessages() { previous_ = widgets::setMessageService(this); }
    ~ScriptedMessages() override { widgets::setMessageService(previous_); }

    // Buttons to press, in order; when none is left, the first offered
    // button of Yes, Ok is pressed.
    void answer(int button) { answers_.push_back(button); }
    // What to do with the next modal dialog: fill it in and return its result.
    void onDialog(std::function<int(QDialog &)> handler) { dialogs_.push_back(std::move(handler)); }

    const std::vector<ShownMessage> &shown() const { return shown_; }
    QString lastText() const { return shown_.empty() ? QString() : shown_.back().text; }
    QString lastTitle() const { return shown_.empty() ? QString() : shown_.back().title; }
    void clear() { shown_.clear(); }
    int dialogsShown() const { return dialogsShown_; }

    int message(const QString &text, const QString &title, Icon icon,
                QMessageBox::StandardButtons buttons) override
    {
        shown_.push_back({text, title, icon});
        if (!answers_.empty()) {
            const int button = answers_.front();
            answers_.pop_front();
            return button;
        }
        if (buttons & QMessageBox::Yes)
            return QMessageBox::Yes;
        return QMessageBox::Ok;
    }

    int exec(QDialog &dialog) override
    {
        ++dialogsShown_;
        if (dialogs_.empty())
            return QDialog::Rejected;
        auto handler = std::move(dialogs_.front());
        dialogs_.pop_front();
        return handler(dialog);
    }

private:
    widgets::MessageService *previous_ = nullptr;
    std::deque<int> answers_;
    std::deque<std::function<int(QDialog &)>> dialogs_;
    std::vector<ShownMessage> shown_;
    int dialogsShown_ = 0;
};

} // namespace chemodesk::test
