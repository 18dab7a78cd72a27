// Plays the user's part for a call that shows several message boxes one after another on a
// thread of its own: each box is read (caption, text, check box) and answered in turn.
#pragma once
#include <string>
#include <vector>
#include "box_watch.h"

// What the user does with one box: toggles its check box first when asked, then presses the
// button with this identifier.
struct BoxAnswer {
    bool toggleCheck;
    int button;
};

// One box as it showed itself.
struct SeenBox {
    std::wstring caption;
    std::wstring text;
    std::wstring checkText;   // the added check box's text; empty when it has none
    int checked;              // its state when the box opened: 1, 0, or -1 without check box
    HWND owner;
};

// Answers the boxes that call shows, in order, with answers (a box beyond them is cancelled),
// until the call returns; returns the boxes seen. False in *finished when the call did not
// return in time.
std::vector<SeenBox> PlayBoxes(BoxThread& call, const std::vector<BoxAnswer>& answers, bool* finished);
