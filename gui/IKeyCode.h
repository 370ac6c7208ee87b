#pragma once
// Key codes the platform back end hands to IEditor::OnKeyDown.

enum EKeyCode : int {
  KEY_SPACE = 0,
  KEY_UPARROW = 1,
  KEY_DOWNARROW = 2,
  KEY_LEFTARROW = 3,
  KEY_RIGHTARROW = 4,
  KEY_DIGIT_0 = 5, // to KEY_DIGIT_9 = 14
  KEY_DIGIT_9 = 14,
  KEY_ALPHA_A = 15, // to KEY_ALPHA_Z = 40, either case
  KEY_ALPHA_Z = 40
};
