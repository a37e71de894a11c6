#pragma once
// Controls as many screens make them: captions in "Comic Sans MS" 10 pt.

#include <QFont>
#include <string>

#include "toolkit/Toolkit.h"

// The face of the screens' captions, labels and answer boxes.
QFont ComicFont(bool bold);

// A label sized to its caption, its top left corner at (left, top).
toolkit::TLabel* ComicLabel(QWidget* parent, const char* name, int left, int top, bool bold,
                            const std::string& caption);

// A button 25 pixels high with a bold caption.
toolkit::TButton* ComicButton(QWidget* parent, const char* name, int left, int top, int width,
                              const std::string& caption);
