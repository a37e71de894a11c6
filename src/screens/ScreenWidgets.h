#pragma once
// The shared widgets of the screens: controls as many screens make them, the
// "Comic Sans MS" 10 pt captions, and the colours of the answers.

#include <QColor>
#include <QFont>
#include <cstdint>
#include <functional>
#include <string>

#include "toolkit/Toolkit.h"

// The face of the screens' captions, labels and answer boxes.
QFont ComicFont(bool bold);

// A label sized to its caption, its top left corner at (left, top).
toolkit::TLabel* ComicLabel(QWidget* parent, const char* name, int left, int top, bool bold,
                            const std::string& caption = "");

// A bold label of fixed size (19 pixels high) whose text stands aligned within it.
toolkit::TLabel* ComicFixedLabel(QWidget* parent, const char* name, int left, int top, int width,
                                 Qt::Alignment alignment, const std::string& caption);

// A button 25 pixels high with a bold caption, its help context and its click.
toolkit::TButton* ComicButton(QWidget* parent, const char* name, int left, int top, int width,
                              const std::string& caption, int32_t helpContext = 0, std::function<void()> click = {});

// Controls in the window's own font.
toolkit::TLabel* NewLabel(QWidget* parent, const char* name, int left, int top, const std::string& caption = "");
// A check box 17 pixels high.
toolkit::TCheckBox* NewCheckBox(QWidget* parent, const char* name, int left, int top, int width,
                                const std::string& caption = "");
// An edit 21 pixels high.
toolkit::TEdit* NewEdit(QWidget* parent, const char* name, int left, int top, int width);
// A spin edit with its range and value, 21 pixels high unless told otherwise.
toolkit::TSpinEdit* NewSpinEdit(QWidget* parent, const char* name, int left, int top, int width, int32_t min,
                                int32_t max, int32_t value, int height = 21);
toolkit::TGroupBox* NewGroupBox(QWidget* parent, const char* name, int left, int top, int width, int height,
                                const std::string& caption = "");
// A panel docked to its parent's edge (or filling it), as wide as the parent.
toolkit::TPanel* NewPanel(QWidget* parent, const char* name, toolkit::TAlign align, int height);
toolkit::TBevel* NewBevel(QWidget* parent, const char* name, toolkit::TBevelShape shape, int left, int top, int width,
                          int height);

// The colours of a check: a right answer green, a wrong one red (the red is
// also that of a countdown running out).
inline const QColor kRightColor(0, 128, 0);
inline const QColor kWrongColor(255, 0, 0);

