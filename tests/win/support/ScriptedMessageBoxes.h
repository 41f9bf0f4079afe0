// Answers the program's message boxes from a script and records what they said, for the
// tests of the window layers. Unscripted boxes are answered with IDOK.
#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

class ScriptedMessageBoxes {
   public:
    struct Shown {
        HWND owner;
        std::wstring text;
        std::wstring caption;
        UINT style;
    };
    explicit ScriptedMessageBoxes(std::deque<int> answers = {});
    ~ScriptedMessageBoxes();
    ScriptedMessageBoxes(const ScriptedMessageBoxes&) = delete;
    ScriptedMessageBoxes& operator=(const ScriptedMessageBoxes&) = delete;

    const std::vector<Shown>& shown() const { return shown_; }
    void answer(int button) { answers_.push_back(button); }

   private:
    static int handler(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style);
    std::deque<int> answers_;
    std::vector<Shown> shown_;
    void* previous_;
};
