// Screenshot steps of the altered message box and the notify popup, in the language loaded.
#pragma once

void ShotCheckBoxBox();      // a hint-like box with the "do not show again" check box
void ShotCountDownBox();     // a box counting down in its text
void ShotRightButtonsBox();  // a question with its buttons at the right edge
void ShotCenteredTextBox();  // a box with centred text
void ShotNotifyPopup();      // the notify popup at the bottom right of the screen
