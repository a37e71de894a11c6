#pragma once
// The switches behind every test seam of the toolkit. Both are off in the
// program; the GUI test main switches them on.

namespace toolkit {

// In test mode every place that would wait for a person (message boxes, file
// and font dialogs, modal screens) takes its answer from a queue instead.
void SetTestMode(bool on);
bool TestMode();

// While recording is on, those places also keep what they showed, for a test
// to read back (MessageBoxes::Shown, FileDialogs::Shown, TFontDialog::Shown,
// TForm::ShownModals). Off, they keep nothing.
void SetRecording(bool on);
bool Recording();

}  // namespace toolkit
