// Scripted message boxes; see ScriptedMessageBoxes.h.
#include "support/ScriptedMessageBoxes.h"

#include "framework/MessageBox.h"

namespace {
ScriptedMessageBoxes* activeScript = nullptr;
}

ScriptedMessageBoxes::ScriptedMessageBoxes(std::deque<int> answers) : answers_(std::move(answers)) {
    activeScript = this;
    previous_ = reinterpret_cast<void*>(setMessageBoxHandler(&ScriptedMessageBoxes::handler));
}

ScriptedMessageBoxes::~ScriptedMessageBoxes() {
    setMessageBoxHandler(reinterpret_cast<MessageBoxHandler>(previous_));
    activeScript = nullptr;
}

int ScriptedMessageBoxes::handler(HWND owner, const std::wstring& text, const std::wstring& caption,
                                  UINT style) {
    ScriptedMessageBoxes* self = activeScript;
    self->shown_.push_back({owner, text, caption, style});
    if (self->answers_.empty()) return IDOK;
    int answer = self->answers_.front();
    self->answers_.pop_front();
    return answer;
}
