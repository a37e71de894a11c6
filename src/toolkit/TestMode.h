#pragma once
// The switch behind every test seam of the toolkit.

namespace toolkit {

// In test mode every place that would wait for a person (message boxes, file
// and font dialogs, modal screens) takes its answer from a queue instead and
// records what it would have shown. The GUI test main switches it on.
void SetTestMode(bool on);
bool TestMode();

}  // namespace toolkit
