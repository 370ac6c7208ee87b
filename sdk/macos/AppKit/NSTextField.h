// NSTextField: an editable line of text inside a view, with an optional formatter that
// vets every edit and a delegate told when the editing ends. The window's back end shows it
// and feeds it typed text (insertText, deleteBackward) until endEditing.
#pragma once

#include <string>

#include "AppKit/AppKit.h"
#include "AppKit/NSView.h"

// A colour of the stand-in's text fields: calibrated RGB with alpha, each 0 to 1.
struct NSColor {
  double red = 0, green = 0, blue = 0, alpha = 1;
  static NSColor colorWithCalibratedRed(double r, double g, double b, double a) {
    return NSColor{r, g, b, a};
  }
};

enum NSTextAlignment : int {
  NSLeftTextAlignment = 0,
  NSRightTextAlignment = 1,
  NSCenterTextAlignment = 2,
  NSNaturalTextAlignment = 4,
};
enum NSLineBreakMode : int { NSLineBreakByClipping = 2, NSLineBreakByTruncatingTail = 4 };
enum NSFocusRingType : int { NSFocusRingTypeDefault = 0, NSFocusRingTypeNone = 1 };

// NSFormatter: turns values into text and back, and decides which partial texts an edit may
// produce.
class NSFormatter : public NSObject {
public:
  virtual std::string stringForObjectValue(const std::string& value) const { return value; }
  virtual bool getObjectValue(std::string* value, const std::string& text) const {
    if (value)
      *value = text;
    return true;
  }
  // Whether an edit may leave the field with `partial`.
  virtual bool isPartialStringValid(const std::string& /*partial*/) const { return true; }
};

class NSTextField;

// What a text field's delegate answers: the editing ended with a text to take
// (controlTextDidEndEditing:), or the user cancelled it and nothing is to be taken.
class NSTextFieldDelegate {
public:
  virtual void controlTextDidEndEditing(NSTextField* field) = 0;
  virtual void controlTextDidCancelEditing(NSTextField* field) = 0;

protected:
  ~NSTextFieldDelegate() = default;
};

class NSTextField : public NSView {
public:
  explicit NSTextField(NSRect frame);
  ~NSTextField() override;

  const std::string& stringValue() const { return text; }
  void setStringValue(std::string value) { text = std::move(value); }
  // Retains the font (a shared font lives for the process anyway).
  void setFont(NSFont* font);
  NSFont* font() const { return textFont; }
  void setAlignment(NSTextAlignment alignment) { textAlignment = alignment; }
  NSTextAlignment alignment() const { return textAlignment; }
  // Retains the formatter.
  void setFormatter(NSFormatter* formatter);
  NSFormatter* formatter() const { return textFormatter; }
  void setDelegate(NSTextFieldDelegate* delegate) { textDelegate = delegate; }
  NSTextFieldDelegate* delegate() const { return textDelegate; }
  void setLineBreakMode(NSLineBreakMode mode) { lineBreak = mode; }
  NSLineBreakMode lineBreakMode() const { return lineBreak; }
  void setAllowsEditingTextAttributes(bool on) { richText = on; }
  void setTextColor(NSColor color) { foreground = color; }
  NSColor textColor() const { return foreground; }
  void setBackgroundColor(NSColor color) { background = color; }
  NSColor backgroundColor() const { return background; }
  void setBordered(bool on) { bordered = on; }
  bool isBordered() const { return bordered; }
  void setFocusRingType(NSFocusRingType type) { focusRing = type; }
  NSFocusRingType focusRingType() const { return focusRing; }

  // ---- editing, as the window's back end drives it ----
  bool isEditing() const { return editing; }
  // Editing starts with the whole text selected, as AppKit's field editor does: the first
  // typed text replaces it, later text is appended. Refused (false, nothing changed) when the
  // formatter rejects the result. Only while editing.
  bool insertText(const std::string& typed);
  // Removes the selection, else the last character; only while editing.
  void deleteBackward();
  bool isTextSelected() const { return editing && selectedAll; }
  // Ends the editing (return, tab, focus loss): the delegate hears of it.
  void endEditing();
  // Cancels the editing (escape): the text goes back to what it was when the editing began
  // and the delegate hears controlTextDidCancelEditing, not controlTextDidEndEditing.
  void cancelOperation();

  bool acceptsFirstResponder() override { return true; }
  // Becoming first responder starts the editing; losing it ends the editing.
  bool becomeFirstResponder() override;
  bool resignFirstResponder() override;
  // While editing: return and tab end it, escape cancels it, delete removes a character,
  // anything else is typed text.
  void keyDown(NSEvent* event) override;
  void removeFromSuperview() override;
  void drawRect(NSRect dirtyRect) override;

private:
  void stopEditing();

  std::string text;
  std::string textBeforeEditing; // what cancelling puts back
  NSFont* textFont = nullptr;
  NSFormatter* textFormatter = nullptr; // retained
  NSTextFieldDelegate* textDelegate = nullptr;
  NSTextAlignment textAlignment = NSNaturalTextAlignment;
  NSLineBreakMode lineBreak = NSLineBreakByClipping;
  NSColor foreground{0, 0, 0, 1}, background{1, 1, 1, 1};
  NSFocusRingType focusRing = NSFocusRingTypeDefault;
  bool richText = true, bordered = true, editing = false, selectedAll = false;
};
